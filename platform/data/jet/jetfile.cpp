#include "platform/data/jet/jetfile.h"

#include "platform/data/jet/jetcodepage.h"

// The mdbtools headers open an extern "C" block before including glib, which breaks glib's C++ templates
// unless glib has been included first.
#include <glib.h>
#include <mdbtools.h>

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_set>

namespace tervolin::platform::data::jet {

struct JetHandle {
    MdbHandle* mdb = nullptr;
    // The catalogue's tables (user and system), in catalogue order. libmdb's table definitions point at their
    // entry, and every open table keeps this handle alive, so the entries outlive the tables.
    std::vector<std::unique_ptr<MdbCatalogEntry>> tables;
    quint64 pageCount = 0;
    std::unique_ptr<CodePageDecoder> jet3Text;  // Jet 3 only
    ~JetHandle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

namespace {

// Row offsets on a data page carry flags in their top bits (deleted, lookup).
constexpr int kRowOffsetMask = 0x1fff;
constexpr quint32 kMemoInline = 0x80000000u;
constexpr quint32 kMemoSinglePage = 0x40000000u;
constexpr int kMemoHeaderSize = MDB_MEMO_OVERHEAD;
// A multi-page Memo declares its length in the low 24 bits; longer chains than the file has pages are damaged.
constexpr quint32 kMemoLengthMask = 0x00ffffffu;

quint32 readU32(const unsigned char* p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

int readU16(const unsigned char* p) { return int(p[0]) | int(p[1]) << 8; }

// A Jet 4 text that starts with FF FE is stored compressed: runs of one byte per character (high byte zero)
// alternate with runs of two bytes per character, each 00 byte switching between the two.
QString decodeJet4Text(const unsigned char* p, std::size_t n)
{
    QString out;
    if (n >= 2 && p[0] == 0xff && p[1] == 0xfe) {
        out.reserve(qsizetype(n));
        bool compressed = true;
        std::size_t i = 2;
        while (i < n) {
            if (p[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                out.append(QChar(char16_t(p[i])));
                ++i;
            } else if (i + 1 < n) {
                out.append(QChar(char16_t(p[i] | p[i + 1] << 8)));
                i += 2;
            } else {
                break;
            }
        }
        return out;
    }
    out.resize(qsizetype(n / 2));
    for (std::size_t i = 0; i + 1 < n; i += 2)
        out[qsizetype(i / 2)] = QChar(char16_t(p[i] | p[i + 1] << 8));
    return out;
}

MdbColumn* columnAt(MdbTableDef* table, unsigned index)
{
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, index));
}

QString nameOf(const char* name) { return QString::fromUtf8(name, qsizetype(strnlen(name, MDB_MAX_OBJ_NAME))); }

// libmdb walks a table's page usage map unchecked, and the column list must be as long as it declares.
bool readColumns(MdbTableDef* table)
{
    return mdb_read_columns(table) && table->columns && table->columns->len == table->num_cols && table->usage_map
        && table->map_sz >= 1;
}

// A catalogue column that libmdb hands on as text; the buffer is as large as libmdb may fill, plus a NUL
// that it never overwrites.
struct BoundColumn {
    const char* name;
    int type;
    std::vector<char> buffer;

    QByteArray value() const { return QByteArray(buffer.data(), qsizetype(strnlen(buffer.data(), buffer.size()))); }
};

// Reads the table entries of the catalogue (MSysObjects, whose definition is always on page 2). libmdb's own
// catalogue reader also decodes each object's property block, and its parser loops forever on a record
// length of 0; the tool needs no properties, so the catalogue is read here without them.
bool readCatalogue(MdbHandle* mdb, std::vector<std::unique_ptr<MdbCatalogEntry>>* tables, QString* error)
{
    const QString damaged = QStringLiteral("the Jet database is damaged: its table catalogue cannot be read");
    MdbCatalogEntry objects{};
    objects.mdb = mdb;
    objects.object_type = MDB_TABLE;
    objects.table_pg = 2;
    std::snprintf(objects.object_name, sizeof objects.object_name, "%s", "MSysObjects");
    MdbTableDef* read = mdb_read_table(&objects);
    if (!read) {
        *error = damaged;
        return false;
    }
    const std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> table(read, mdb_free_tabledef);
    if (!readColumns(table.get())) {
        *error = damaged;
        return false;
    }

    // Only plain number and text columns are bound: libmdb reads them within the row, following no pointers.
    const std::size_t bindSize = std::max<std::size_t>(mdb->bind_size, MDB_BIND_SIZE) + 1;
    BoundColumn bound[] = {{"Id", MDB_LONGINT, {}}, {"Name", MDB_TEXT, {}}, {"Type", MDB_INT, {}}, {"Flags", MDB_LONGINT, {}}};
    for (BoundColumn& column : bound) {
        column.buffer.assign(bindSize, '\0');
        MdbColumn* found = nullptr;
        unsigned index = 0;
        for (; index < table->num_cols && !found; ++index) {
            MdbColumn* col = columnAt(table.get(), index);
            if (col && nameOf(col->name).compare(QLatin1String(column.name), Qt::CaseInsensitive) == 0)
                found = col;
        }
        if (!found || found->col_type != column.type) {
            *error = QStringLiteral("the Jet database is damaged: its table catalogue has no %1 column of the right type")
                         .arg(QLatin1String(column.name));
            return false;
        }
        // Column numbers start at 1 here, so `index` (one past the match) is the match's number.
        if (mdb_bind_column(table.get(), int(index), column.buffer.data(), nullptr) == -1
            || found->bind_ptr != column.buffer.data()) {
            *error = damaged;
            return false;
        }
    }

    mdb_rewind_table(table.get());
    quint64 rows = 0;
    for (;;) {
        for (BoundColumn& column : bound)
            column.buffer[0] = '\0';
        if (!mdb_fetch_row(table.get()))
            break;
        ++rows;
        bool typeOk = false;
        const int type = bound[2].value().toInt(&typeOk);
        if (!typeOk || type != MDB_TABLE)
            continue;
        bool idOk = false;
        bool flagsOk = false;
        const qint64 id = bound[0].value().toLongLong(&idOk);
        const qint64 flags = bound[3].value().toLongLong(&flagsOk);
        if (!idOk || !flagsOk) {
            *error = damaged;
            return false;
        }
        auto entry = std::make_unique<MdbCatalogEntry>();
        entry->mdb = mdb;
        const QByteArray name = bound[1].value().left(MDB_MAX_OBJ_NAME);
        std::memcpy(entry->object_name, name.constData(), std::size_t(name.size()));
        entry->object_name[name.size()] = '\0';
        entry->object_type = MDB_TABLE;
        entry->table_pg = static_cast<unsigned long>(id & 0x00ffffff);
        entry->flags = int(flags);
        entry->props = nullptr;
        tables->push_back(std::move(entry));
    }
    // libmdb skips rows it cannot read; a catalogue that lost rows may have lost tables.
    if (rows != table->num_rows) {
        *error = QStringLiteral("the Jet database is damaged: its table catalogue declares %1 rows but %2 can be read")
                     .arg(table->num_rows)
                     .arg(rows);
        return false;
    }
    return true;
}

}  // namespace

bool hasJetSignature(QByteArrayView firstBytes)
{
    if (firstBytes.size() < 19)
        return false;
    const QByteArrayView tag = firstBytes.sliced(4, 15);
    return tag == QByteArrayView("Standard Jet DB") || tag == QByteArrayView("Standard ACE DB");
}

std::unique_ptr<JetFile> JetFile::open(const QString& path, QString* error)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        *error = QStringLiteral("the file does not exist");
        return nullptr;
    }
    QFile probe(info.absoluteFilePath());
    if (!probe.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("the file cannot be read: %1").arg(probe.errorString());
        return nullptr;
    }
    if (!hasJetSignature(probe.read(19))) {
        *error = QStringLiteral("the file is not a Jet (Access) database");
        return nullptr;
    }
    probe.close();

    std::unique_ptr<JetFile> file(new JetFile);
    file->path_ = path;
    file->handle_ = std::make_shared<JetHandle>();
    // MDB_NOFLAGS opens the stream for reading only; libmdb never writes through it.
    const QByteArray nativePath = QFile::encodeName(info.absoluteFilePath());
    file->handle_->mdb = mdb_open(nativePath.constData(), MDB_NOFLAGS);
    MdbHandle* mdb = file->handle_->mdb;
    if (!mdb || !mdb->f || !mdb->fmt || mdb->fmt->pg_size <= 0 || mdb->fmt->pg_size > MDB_PGSIZE) {
        *error = QStringLiteral("the Jet database is damaged or of an unknown version");
        return nullptr;
    }
    // Jet files are whole pages; a partial last page is a cut-off copy whose rows libmdb would half read.
    if (info.size() % mdb->fmt->pg_size != 0) {
        *error = QStringLiteral("the Jet database is damaged: it ends inside a page (a truncated copy?)");
        return nullptr;
    }
    file->handle_->pageCount = quint64(info.size()) / quint64(mdb->fmt->pg_size);
    if (mdb->f->jet_version == MDB_VER_JET3) {
        // libmdb has read both header fields (0x3C, 0x3A) from the decrypted header page. Its own conversion is
        // not used for texts: it falls back to CP1252 where only the sort order names the code page, and the
        // environment (MDB_JET3_CHARSET, MDBICONV) can change what it produces.
        const int codePage = jet3CodePage(mdb->f->code_page, mdb->f->lang_id);
        file->handle_->jet3Text = std::make_unique<CodePageDecoder>(codePage);
        if (!file->handle_->jet3Text->valid()) {
            *error = QStringLiteral("the Jet 3 database stores its texts in code page %1, which this system cannot convert")
                         .arg(codePage);
            return nullptr;
        }
    }
    if (!readCatalogue(mdb, &file->handle_->tables, error))
        return nullptr;
    return file;
}

JetFile::~JetFile() = default;

bool JetFile::isJet3() const { return handle_->mdb->f->jet_version == MDB_VER_JET3; }

int JetFile::textCodePage() const { return handle_->jet3Text ? handle_->jet3Text->codePage() : 0; }

QStringList JetFile::tableNames() const
{
    QStringList names;
    for (const std::unique_ptr<MdbCatalogEntry>& entry : handle_->tables)
        if (!mdb_is_system_table(entry.get()))
            names.append(nameOf(entry->object_name));
    return names;
}

std::unique_ptr<JetTable> JetFile::openTable(const QString& tableName, const QStringList& columnNames, QString* error)
{
    MdbCatalogEntry* found = nullptr;
    for (const std::unique_ptr<MdbCatalogEntry>& entry : handle_->tables) {
        if (nameOf(entry->object_name).compare(tableName, Qt::CaseInsensitive) == 0) {
            found = entry.get();
            break;
        }
    }
    if (!found) {
        *error = QStringLiteral("the database has no table \"%1\"").arg(tableName);
        return nullptr;
    }
    // Page 0 is the file header.
    if (found->table_pg == 0 || found->table_pg >= handle_->pageCount) {
        *error = QStringLiteral("the Jet database is damaged: the catalogue places table \"%1\" on page %2, outside the file")
                     .arg(tableName)
                     .arg(found->table_pg);
        return nullptr;
    }

    const QString damagedTable =
        QStringLiteral("the Jet database is damaged: the definition of table \"%1\" cannot be read").arg(tableName);
    MdbTableDef* table = mdb_read_table(found);
    if (!table) {
        *error = damagedTable;
        return nullptr;
    }
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> owned(table, mdb_free_tabledef);
    if (!readColumns(table)) {
        *error = damagedTable;
        return nullptr;
    }

    std::vector<JetTable::Column> columns;
    for (const QString& name : columnNames) {
        bool matched = false;
        for (unsigned i = 0; i < table->num_cols && !matched; ++i) {
            const MdbColumn* col = columnAt(table, i);
            if (!col || nameOf(col->name).compare(name, Qt::CaseInsensitive) != 0)
                continue;
            if (col->col_type != MDB_TEXT && col->col_type != MDB_MEMO) {
                *error = QStringLiteral("the column \"%1\" of table \"%2\" is not a Text or Memo column").arg(name, tableName);
                return nullptr;
            }
            columns.push_back({i, col->col_type == MDB_MEMO});
            matched = true;
        }
        if (!matched) {
            *error = QStringLiteral("the table \"%1\" has no column \"%2\"").arg(tableName, name);
            return nullptr;
        }
    }
    return std::unique_ptr<JetTable>(new JetTable(handle_, path_, owned.release(), std::move(columns)));
}

JetTable::JetTable(std::shared_ptr<JetHandle> handle, QString path, S_MdbTableDef* table, std::vector<Column> columns)
    : handle_(std::move(handle)), path_(std::move(path)), table_(table), columns_(std::move(columns))
{
    rewind();
}

JetTable::~JetTable() { mdb_free_tabledef(table_); }

void JetTable::rewind()
{
    mdb_rewind_table(table_);
    rowsRead_ = 0;
    atEnd_ = false;
}

quint64 JetTable::declaredRows() const { return table_->num_rows; }

QStringList JetTable::textColumns() const
{
    QStringList names;
    for (unsigned i = 0; i < table_->num_cols; ++i) {
        const MdbColumn* col = columnAt(table_, i);
        if (col && (col->col_type == MDB_TEXT || col->col_type == MDB_MEMO))
            names.append(nameOf(col->name));
    }
    return names;
}

QString JetTable::damaged(const QString& what) const
{
    return QStringLiteral("the Jet database is damaged: %1").arg(what);
}

bool JetTable::next(QString* error)
{
    if (atEnd_)
        return false;
    if (mdb_fetch_row(table_)) {
        ++rowsRead_;
        return true;
    }
    atEnd_ = true;
    // libmdb silently skips rows it cannot read; a count that disagrees with the table definition means lost rows.
    if (rowsRead_ != table_->num_rows)
        *error = damaged(QStringLiteral("table \"%1\" declares %2 rows but %3 can be read")
                             .arg(QString::fromUtf8(table_->name))
                             .arg(table_->num_rows)
                             .arg(rowsRead_));
    return false;
}

bool JetTable::text(int index, QString* out, QString* error)
{
    out->clear();
    if (index < 0 || std::size_t(index) >= columns_.size() || rowsRead_ == 0 || atEnd_) {
        *error = QStringLiteral("no current row or no such column");
        return false;
    }
    const Column& column = columns_[std::size_t(index)];
    const MdbColumn* col = columnAt(table_, column.index);
    const int start = col->cur_value_start;
    const int length = col->cur_value_len;
    if (length == 0)
        return true;  // NULL (libmdb gives a zero-length Text value the same way)
    MdbHandle* mdb = handle_->mdb;
    if (start < 0 || length < 0 || start > mdb->fmt->pg_size - length) {
        *error = damaged(QStringLiteral("a value lies outside its page"));
        return false;
    }
    if (!column.memo) {
        *out = decode(mdb->pg_buf + start, std::size_t(length));
    } else {
        std::string raw;
        if (!readMemo(start, length, &raw, error))
            return false;
        *out = decode(reinterpret_cast<const unsigned char*>(raw.data()), raw.size());
    }
    if (out->isNull())
        *out = QStringLiteral("");  // stored, though empty: not NULL
    return true;
}

bool JetTable::readMemo(int start, int length, std::string* raw, QString* error)
{
    MdbHandle* mdb = handle_->mdb;
    if (length < kMemoHeaderSize) {
        *error = damaged(QStringLiteral("a Memo value is too short"));
        return false;
    }
    const unsigned char* header = mdb->pg_buf + start;
    const quint32 memoLength = readU32(header);
    const quint32 pageRow = readU32(header + 4);
    if (memoLength & kMemoInline) {
        raw->assign(reinterpret_cast<const char*>(header) + kMemoHeaderSize, std::size_t(length - kMemoHeaderSize));
        return true;
    }
    if (memoLength & kMemoSinglePage) {
        const unsigned char* data = nullptr;
        int rowLength = 0;
        if (!readLongValueRow(pageRow, &data, &rowLength, error))
            return false;
        raw->assign(reinterpret_cast<const char*>(data), std::size_t(rowLength));
        return true;
    }
    if (memoLength & ~kMemoLengthMask) {
        *error = damaged(QStringLiteral("a Memo value has an unknown storage kind"));
        return false;
    }
    // Multi-page: each long-value row starts with the page/row of the next one (0 ends the chain).
    raw->clear();
    std::unordered_set<quint32> visited;
    quint32 next = pageRow;
    while (next != 0 && raw->size() < memoLength) {
        if (!visited.insert(next).second) {
            *error = damaged(QStringLiteral("a Memo value's pages form a loop"));
            return false;
        }
        const unsigned char* data = nullptr;
        int rowLength = 0;
        if (!readLongValueRow(next, &data, &rowLength, error))
            return false;
        if (rowLength < 4) {
            *error = damaged(QStringLiteral("a Memo page is too short"));
            return false;
        }
        next = readU32(data);
        const std::size_t take = std::min(std::size_t(rowLength - 4), std::size_t(memoLength) - raw->size());
        raw->append(reinterpret_cast<const char*>(data) + 4, take);
    }
    if (raw->size() != memoLength) {
        *error = damaged(QStringLiteral("a Memo value is shorter than it declares"));
        return false;
    }
    return true;
}

// Reads one row of a long-value page into the spare page buffer, leaving the current data page untouched.
bool JetTable::readLongValueRow(quint32 pageRow, const unsigned char** data, int* length, QString* error)
{
    MdbHandle* mdb = handle_->mdb;
    const int pageSize = int(mdb->fmt->pg_size);
    const quint32 page = pageRow >> 8;
    const int row = int(pageRow & 0xff);
    if (page == 0 || mdb_read_alt_pg(mdb, page) != mdb->fmt->pg_size) {
        *error = damaged(QStringLiteral("a Memo value points to a missing page"));
        return false;
    }
    const unsigned char* pg = mdb->alt_pg_buf;
    const int countOffset = mdb->fmt->row_count_offset;
    if (pg[0] != MDB_PAGE_DATA || countOffset + 2 + 2 * (row + 1) > pageSize || row >= readU16(pg + countOffset)) {
        *error = damaged(QStringLiteral("a Memo value points to a missing row"));
        return false;
    }
    const int rowStart = readU16(pg + countOffset + 2 + 2 * row) & kRowOffsetMask;
    const int rowEnd = row == 0 ? pageSize : readU16(pg + countOffset + 2 * row) & kRowOffsetMask;
    if (rowStart > rowEnd || rowEnd > pageSize) {
        *error = damaged(QStringLiteral("a Memo row lies outside its page"));
        return false;
    }
    *data = pg + rowStart;
    *length = rowEnd - rowStart;
    return true;
}

QString JetTable::decode(const unsigned char* bytes, std::size_t length)
{
    if (handle_->jet3Text)
        return handle_->jet3Text->decode(bytes, length);
    return decodeJet4Text(bytes, length);
}

}  // namespace tervolin::platform::data::jet

#pragma once
// Read-only access to Jet 3 / Jet 4 (and ACE) database files through libmdb. libmdb is not hardened against
// damaged or malicious files, so every value it hands back is checked here before it is used or passed on.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

struct S_MdbTableDef;

namespace tervolin::platform::data::jet {

/// True when the first bytes of a file carry the Jet/ACE signature ("Standard Jet DB" or "Standard ACE DB" at offset 4).
bool hasJetSignature(QByteArrayView firstBytes);

class JetTable;
struct JetHandle;

/// A Jet database opened read-only (the file is opened for reading only and never written).
class JetFile {
public:
    /// Opens `path`; on failure returns null and sets `error` (the message leaves the path to the caller).
    static std::unique_ptr<JetFile> open(const QString& path, QString* error);
    ~JetFile();
    JetFile(const JetFile&) = delete;
    JetFile& operator=(const JetFile&) = delete;

    const QString& path() const { return path_; }
    /// True for a Jet 3 file (Access 97 and older), whose texts are in a code page rather than UTF-16.
    bool isJet3() const;
    /// The Windows code page of a Jet 3 file's texts (see jet3CodePage); 0 for a Jet 4 file, whose texts are UTF-16.
    int textCodePage() const;
    /// Names of the user tables, in catalogue order.
    QStringList tableNames() const;

    /// Opens the user table `table` (name compared case-blind) for a scan of the Text or Memo columns `columns`
    /// (names compared case-blind). Null with `error` set when the table or a column is missing, a column is not
    /// text, or the table definition is damaged.
    std::unique_ptr<JetTable> openTable(const QString& table, const QStringList& columns, QString* error);

private:
    JetFile() = default;
    QString path_;
    std::shared_ptr<JetHandle> handle_;
};

/// A forward scan over one table's rows in file order. Texts are decoded only for the columns asked for,
/// so a search reads the long columns of matching rows only. It may outlive the JetFile that opened it.
class JetTable {
public:
    ~JetTable();
    JetTable(const JetTable&) = delete;
    JetTable& operator=(const JetTable&) = delete;

    /// Goes back before the first row.
    void rewind();
    /// Moves to the next row. False at the end of the table, and on a damaged file (then `error` is set).
    bool next(QString* error);
    /// The text of column `index` (an index into the columns given to openTable) of the current row: a null
    /// QString for NULL, otherwise a non-null one. An empty Memo is told apart from NULL; a zero-length Text
    /// value is not (libmdb hands both on alike) and reads as NULL. False with `error` set on a damaged value.
    bool text(int index, QString* out, QString* error);
    /// The number of rows that the table definition declares.
    quint64 declaredRows() const;
    /// The names of the table's Text and Memo columns, in the table definition's order.
    QStringList textColumns() const;

private:
    friend class JetFile;
    struct Column {
        unsigned index = 0;  // position in the table definition's column list
        bool memo = false;
    };
    JetTable(std::shared_ptr<JetHandle> handle, QString path, S_MdbTableDef* table, std::vector<Column> columns);
    bool readMemo(int start, int length, std::string* raw, QString* error);
    bool readLongValueRow(quint32 pageRow, const unsigned char** data, int* length, QString* error);
    QString decode(const unsigned char* bytes, std::size_t length);
    QString damaged(const QString& what) const;

    std::shared_ptr<JetHandle> handle_;  // keeps the file open for as long as the scan lives
    QString path_;
    S_MdbTableDef* table_;
    std::vector<Column> columns_;
    quint64 rowsRead_ = 0;
    bool atEnd_ = false;
};

}  // namespace tervolin::platform::data::jet

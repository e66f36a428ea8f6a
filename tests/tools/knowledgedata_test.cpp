// The real knowledge base: its source files in data/knowledge and the db1.mdb the build writes from them, checked
// against the list of documented stop codes in data/bugcheck_codes.csv.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <sqlite3.h>

#include "tests/support/testsupport.h"
#include "tools/mkdb/knowledgebase.h"

using namespace tervolin::tools;

namespace {

const QString SourceDir = QStringLiteral(TERVOLIN_SOURCE_DIR);

struct ListedCode
{
    QString code;
    QString name;
    QString parameters;  // the parameter numbers the code's page documents, e.g. "1234"
};

std::vector<ListedCode> listedCodes()
{
    std::vector<ListedCode> codes;
    QFile file(SourceDir + QStringLiteral("/data/bugcheck_codes.csv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return codes;
    file.readLine();  // header
    while (!file.atEnd()) {
        const QStringList fields = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char(','));
        if (fields.size() == 4)
            codes.push_back({fields[0], fields[1], fields[2]});
    }
    return codes;
}

QStringList sourceFiles()
{
    QStringList files;
    const QDir dir(SourceDir + QStringLiteral("/data/knowledge"));
    for (const QString& name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name))
        files << dir.filePath(name);
    return files;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class KnowledgeData : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        listed_ = listedCodes();
        entries_ = readKnowledgeFiles(sourceFiles());
    }
    static inline std::vector<ListedCode> listed_;
    static inline std::vector<KnowledgeEntry> entries_;
};

}  // namespace

TEST_F(KnowledgeData, TheListHoldsEveryDocumentedCodeOnce)
{
    ASSERT_EQ(listed_.size(), 425u);
    QSet<QString> codes, names;
    for (const ListedCode& c : listed_) {
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^0x[0-9A-F]{8}$")).match(c.code).hasMatch()) << c.code.toStdString();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[1-4]*$")).match(c.parameters).hasMatch()) << c.code.toStdString();
        codes.insert(c.code);
        names.insert(c.name);
    }
    EXPECT_EQ(codes.size(), 425);
    EXPECT_EQ(names.size(), 425);
    EXPECT_TRUE(names.contains(QStringLiteral("ACPI_FIRMWARE_WATCHDOG_TIMEOUT")));
}

TEST_F(KnowledgeData, EveryListedCodeHasItsFileWithTheListsNameAndItsDocumentedParameters)
{
    QHash<QString, const KnowledgeEntry*> byCode;
    for (const KnowledgeEntry& e : entries_)
        byCode.insert(e.code, &e);
    for (const ListedCode& c : listed_) {
        const KnowledgeEntry* e = byCode.value(c.code);
        ASSERT_NE(e, nullptr) << "no data/knowledge/" << c.code.toStdString() << ".txt";
        EXPECT_EQ(e->name, c.name) << c.code.toStdString();
        for (const QChar digit : c.parameters) {
            const int number = digit.digitValue();
            const bool described = std::any_of(e->parameters.begin(), e->parameters.end(), [&](const ParameterMeaning& p) { return p.number == number; });
            EXPECT_TRUE(described) << c.code.toStdString() << ": parameter " << number << " is documented but has no meaning";
        }
    }
}

TEST_F(KnowledgeData, NoTemplateMarkersLeftoversOrStrayEscapes)
{
    // A marker like "@DUMP", a to-do, a template brace, an escape that was never resolved, a control character.
    const QRegularExpression leftover(QStringLiteral("@[A-Za-z]|TODO|FIXME|XXX|\\{\\{|\\}\\}|\\\\[ntr](?![A-Za-z])|待补充|[\\x{0}-\\x{8}\\x{B}\\x{C}\\x{E}-\\x{1F}]"));
    for (const KnowledgeEntry& e : entries_) {
        QStringList texts = {e.fenxi, e.jiejue};
        for (const ParameterMeaning& p : e.parameters)
            texts << p.meaning;
        for (const ParameterValue& v : e.values)
            texts << v.meaning;
        for (const QString& text : texts) {
            const QRegularExpressionMatch match = leftover.match(text);
            EXPECT_FALSE(match.hasMatch()) << e.code.toStdString() << ": \"" << match.captured().toStdString() << "\"";
        }
    }
}

TEST_F(KnowledgeData, NoTwoCodesShareAWholeAnalysisOrSolution)
{
    QHash<QString, QString> fenxi, jiejue;
    for (const KnowledgeEntry& e : entries_) {
        EXPECT_FALSE(fenxi.contains(e.fenxi)) << e.code.toStdString() << " has the analysis of " << fenxi.value(e.fenxi).toStdString();
        EXPECT_FALSE(jiejue.contains(e.jiejue)) << e.code.toStdString() << " has the solution of " << jiejue.value(e.jiejue).toStdString();
        fenxi.insert(e.fenxi, e.code);
        jiejue.insert(e.jiejue, e.code);
    }
}

TEST_F(KnowledgeData, TheBundledFileIsWhatTheSourceBuilds)
{
    const QString rebuilt = tervolin::test::scratchDir() + QStringLiteral("/db1.mdb");
    writeKnowledgeDatabase(entries_, rebuilt);
    const QByteArray bundled = readAll(QStringLiteral(TERVOLIN_BUILT_DB));
    ASSERT_FALSE(bundled.isEmpty()) << TERVOLIN_BUILT_DB;
    EXPECT_TRUE(bundled == readAll(rebuilt)) << "db1.mdb differs from a fresh build of data/knowledge";

    // And it holds what the list promises: each code and name as a row, the parameter rows keyed by the code.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(TERVOLIN_BUILT_DB, &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* find = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT count(*) FROM lanping WHERE daima=?", -1, &find, nullptr), SQLITE_OK);
    for (const ListedCode& c : listed_) {
        for (const QString& key : {c.code, c.name}) {
            const QByteArray utf8 = key.toUtf8();
            sqlite3_bind_text(find, 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
            ASSERT_EQ(sqlite3_step(find), SQLITE_ROW);
            EXPECT_EQ(sqlite3_column_int(find, 0), 1) << key.toStdString();
            sqlite3_reset(find);
        }
    }
    sqlite3_finalize(find);
    sqlite3_close(db);
}

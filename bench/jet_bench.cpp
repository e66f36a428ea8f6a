// Lookup and code list on a Jet file next to the same on its SQLite conversion, in the same run.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/knowledgebase.h"
#include "platform/data/connection.h"
#include "platform/data/recordset.h"
#include "tools/mkdb/knowledgebase.h"

namespace {

using namespace tervolin::platform::data;

QString jetFixture() { return QStringLiteral(TERVOLIN_FIXTURES_DIR "/jet/lanping_sample.mdb"); }

// The SQLite conversion of the Jet fixture, made once per run.
QString sqliteCopy()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        Connection connection;
        connection.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source = ") + jetFixture());
        Recordset recordset;
        recordset.Open(QStringLiteral("select * from lanping"), connection);
        std::vector<tervolin::tools::KnowledgeRow> rows;
        while (!recordset.isEOF()) {
            rows.push_back({recordset.text(QStringLiteral("daima")), recordset.text(QStringLiteral("fenxi")),
                            recordset.text(QStringLiteral("jiejue"))});
            recordset.MoveNext();
        }
        const QString out = dir.filePath(QStringLiteral("db1.mdb"));
        tervolin::tools::writeKnowledgeDatabase(rows, out);
        return out;
    }();
    return path;
}

QString fileFor(int jet) { return jet ? jetFixture() : sqliteCopy(); }

void listCodes(benchmark::State& state)
{
    const QString path = fileFor(int(state.range(0)));
    Connection connection;
    connection.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source = ") + path);
    for (auto _ : state) {
        Recordset recordset;
        recordset.Open(QStringLiteral("SELECT daima FROM lanping"), connection);
        int n = 0;
        while (!recordset.isEOF()) {
            benchmark::DoNotOptimize(recordset.text(QStringLiteral("daima")));
            recordset.MoveNext();
            ++n;
        }
        benchmark::DoNotOptimize(n);
    }
    state.SetLabel(state.range(0) ? "Jet" : "SQLite");
}

// range(1): 0 looks up the first row's code, 1 the last row's (a full scan on Jet), 2 a missing code.
void lookup(benchmark::State& state)
{
    const QString path = fileFor(int(state.range(0)));
    const QString codes[] = {QStringLiteral("0x0000007b"), QStringLiteral("MixedCase"), QStringLiteral("0xDEADDEAD")};
    const QString code = codes[state.range(1)];
    const auto knowledge = tervolin::app::KnowledgeBase::openFile(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(knowledge->lookup(code).found);
    state.SetLabel(std::string(state.range(0) ? "Jet " : "SQLite ") + code.toStdString());
}

}  // namespace

BENCHMARK(listCodes)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(lookup)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMicrosecond);

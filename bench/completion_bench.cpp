// Completion of the code input box on a table of a million rows: the cost of one keystroke next to one plain
// indexed SQLite lookup of a code on the same rows, and the one-time cost of building the completion indexes.
#include <benchmark/benchmark.h>

#include <QStringList>

#include <sqlite3.h>

#include "app/codecompleter.h"

using tervolin::app::CodeCompleter;

namespace {

constexpr int Codes = 500'000;  // two rows each: a million rows

// Rows like the bundled table's: each code a hexadecimal row followed by a name row.
const QStringList& millionCodes()
{
    static const QStringList codes = [] {
        static const char* const words[] = {"DRIVER", "POWER", "STATE", "MEMORY", "KERNEL", "THREAD", "EXCEPTION", "PAGE",
                                            "FAULT", "IRQL", "DEVICE", "BOOT", "SYSTEM", "PROCESS", "VIDEO", "TIMEOUT"};
        QStringList list;
        list.reserve(2 * Codes);
        for (int i = 0; i < Codes; ++i) {
            QString tag;
            for (int v = i, k = 0; k < 5; ++k, v /= 26)
                tag += QChar(u'A' + v % 26);
            list << QStringLiteral("0x") + QStringLiteral("%1").arg(0x00100000 + i * 3, 8, 16, QLatin1Char('0')).toUpper()
                 << QStringLiteral("%1_%2_%3").arg(QLatin1String(words[i % 16]), QLatin1String(words[(i / 16) % 16]), tag);
        }
        return list;
    }();
    return codes;
}

const CodeCompleter& completer()
{
    static const CodeCompleter c(millionCodes());
    return c;
}

// The same rows in an in-memory lanping table with the index on daima that the bundled file has.
sqlite3* database()
{
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        sqlite3_exec(d, "CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT);BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(d, "INSERT INTO lanping VALUES(?,'问题分析的文字','解决方法的文字')", -1, &insert, nullptr);
        for (const QString& code : millionCodes()) {
            const QByteArray utf8 = code.toUtf8();
            sqlite3_bind_text(insert, 1, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(d, "COMMIT;CREATE INDEX daima_index ON lanping(daima) WHERE daima IS NOT NULL", nullptr, nullptr, nullptr);
        return d;
    }();
    return db;
}

// Baseline: one lookup as the window makes it, the query text built with the code, prepared, stepped, read.
void Baseline_SqliteIndexedLookup(benchmark::State& state)
{
    sqlite3* db = database();
    const QStringList& codes = millionCodes();
    qsizetype i = 0;
    for (auto _ : state) {
        const QByteArray sql = "select fenxi,jiejue from lanping where daima='" + codes[i].toUtf8() + "'";
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &st, nullptr);
        if (sqlite3_step(st) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
        i = (i + 7919) % codes.size();
    }
}
BENCHMARK(Baseline_SqliteIndexedLookup)->Unit(benchmark::kMicrosecond);

// Every keystroke of one typed input: the completion offered after each character.
void CompletionPerKeystroke(benchmark::State& state, const char* typed)
{
    const CodeCompleter& c = completer();
    const QString text = QString::fromUtf8(typed);
    for (auto _ : state)
        for (qsizetype n = 1; n <= text.size(); ++n)
            benchmark::DoNotOptimize(c.complete(text.left(n)));
    // CPU seconds per keystroke (printed with an SI prefix: "8u" is 8 µs).
    state.counters["per_keystroke"] =
        benchmark::Counter(static_cast<double>(text.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(CompletionPerKeystroke, hex_padded, "0x0015A6C3")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompletionPerKeystroke, hex_short, "15a6c3")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompletionPerKeystroke, stop_line, "STOP: 0x0015A6C3 (0xC0000005, 0x8053B4D4)")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompletionPerKeystroke, bccode, "BCCode: 15a6c3")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompletionPerKeystroke, name, "power_kernel_jqaha")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompletionPerKeystroke, name_part, "kernel_jqa")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(CompletionPerKeystroke, no_match, "qqqqqzzz")->Unit(benchmark::kMicrosecond);

// One-time cost: the indexes built from the million codes, as the window does after filling its list.
void CompleterBuild(benchmark::State& state)
{
    const QStringList& codes = millionCodes();
    for (auto _ : state)
        benchmark::DoNotOptimize(CodeCompleter(codes).size());
}
BENCHMARK(CompleterBuild)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

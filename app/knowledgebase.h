#pragma once
// The knowledge base: the one place that knows the tables of db1.mdb and asks them. lanping holds the analysis
// and solution of each code; the optional canshu and canshuzhi say what a code's four parameters and some of
// their values mean. Widget-free, for the window, the command-line tool and worker threads alike. Not shared
// between threads: each thread opens its own (a connection serves one thread).

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/data/connection.h"
#include "platform/data/datacontrol.h"
#include "platform/core/textlist.h"

namespace tervolin::app {

/// The analysis and solution of one code. A NULL field reads as empty text.
struct CodeAnswer
{
    bool found = false;
    QString fenxi;
    QString jiejue;
};

/// One row of lanping as stored: a null QString for NULL.
struct StoredCode
{
    QString daima;
    QString fenxi;
    QString jiejue;
};

/// The answer for a stop code as a crash dump or report holds it, with the key it was found under.
struct CodeMatch
{
    QString key;  // the key that was found, or the first one tried ("0x1000007E") when none was
    CodeAnswer answer;
};

/// What parameter `xuhao` (1 to 4) of a code holds.
struct ParameterMeaning
{
    int xuhao = 0;
    QString hanyi;

    friend bool operator==(const ParameterMeaning&, const ParameterMeaning&) = default;
};

/// A documented value of parameter `xuhao` of a code and what it means.
struct ParameterValue
{
    int xuhao = 0;
    QString zhi;
    QString hanyi;

    friend bool operator==(const ParameterValue&, const ParameterValue&) = default;
};

class KnowledgeBase
{
public:
    /// Opens the file that the shared connection string names, read-only with client-side cursors, sets up the
    /// lookup data control on the other string, and checks that lanping has the columns the lookups read.
    /// Throws platform::data::DataError naming the file.
    KnowledgeBase(const QString& sharedConnectionString, const QString& dataControlConnectionString);
    /// The same for a file named by its path, with the connection strings the window would build for it.
    static std::unique_ptr<KnowledgeBase> openFile(const QString& path);

    /// The file both access paths read.
    QString filePath() const;

    /// Every code, in the engine's row order ("SELECT daima FROM lanping"); a code stored twice is listed twice.
    platform::TextList codes();
    /// The same list handed over in parts as it is read, for showing a long list while it loads: the first part
    /// holds `firstPart` codes, each next part twice as many as the one before, up to `largestPart`; the last part
    /// may be shorter (or empty for an empty table). `take` returns false to stop reading. Throws DataError.
    void readCodes(qsizetype firstPart, qsizetype largestPart, const std::function<bool(platform::TextList)>& take);
    /// The number of rows the code list has, counted without keeping their texts.
    qsizetype count();
    /// Every row with its three fields, in the engine's row order.
    std::vector<StoredCode> rows();

    /// Looks the code up through the data control exactly as typed (lookupQuery); the first matching row.
    /// Throws DataError.
    CodeAnswer lookup(const QString& code);

    /// Looks a stop code up by its key (codeKey) through lookup. A code with the 0x10000000 bit (0x1000007E) that
    /// is not stored is looked up again without that bit (0x0000007E): Windows sets the bit on some stops, which
    /// mean the same as the code without it. Throws DataError.
    CodeMatch lookupCode(std::uint32_t code);
    /// The other spellings of a stored code: the codes whose row holds the same analysis and solution as the first
    /// row of `key` (the bundled base stores each code under its hexadecimal key and under its symbolic name). Empty
    /// when `key` is not stored or its analysis is empty. Throws DataError.
    QStringList aliases(const QString& key);
    /// The symbolic name of a stop code ("DRIVER_POWER_STATE_FAILURE" for "0x0000009F"): its first alias that is
    /// not a hexadecimal code; empty when the base has none. Throws DataError.
    QString codeName(const QString& key);
    /// The hexadecimal key of a code named by its symbolic name: its first alias that is one; nothing when the
    /// name is not stored or has no such alias. Throws DataError.
    std::optional<std::uint32_t> codeOfName(const QString& name);

    /// What the parameters of a code mean, by parameter number; empty when the file has no parameter table or
    /// no row for the code. Throws DataError when the table is there but cannot be read.
    std::vector<ParameterMeaning> parameterMeanings(std::uint32_t code);
    /// What a value of parameter `xuhao` of a code means (values compared as numbers); empty text when the file
    /// has no value table or no row for that value. Throws DataError when the table is there but cannot be read.
    QString valueMeaning(std::uint32_t code, int xuhao, std::uint64_t value);
    /// Every documented value of the code's parameters, by parameter number and then in the table's order; empty
    /// when the file has no value table. Throws DataError when the table is there but cannot be read.
    std::vector<ParameterValue> parameterValues(std::uint32_t code);

    /// "select fenxi,jiejue from lanping where daima='…'": the code inside the literal, every apostrophe doubled.
    static QString lookupQuery(const QString& code);
    /// The key of a code in the parameter tables: ten characters, "0x0000009F".
    static QString codeKey(std::uint32_t code);
    /// A code written in hexadecimal with "0x" ("0x9f", "0x0000009F"), or nothing for any other text.
    static std::optional<std::uint32_t> parseCode(const QString& text);

    /// The shared connection, open for the object's lifetime.
    const platform::data::Connection& connection() const { return connection_; }
    /// The data control the lookups run through; its recordset is the last lookup's.
    const platform::data::DataControl& dataControl() const { return lookups_; }

private:
    bool hasTable(const QString& name);
    /// Runs `select` (its text up to the quoted code) on the code's rows of an optional parameter table, if the
    /// file has it, and hands each row whose parameter number is 1 to 4 to `row` with that number.
    void forEachParameterRow(const QString& table, const QString& select, std::uint32_t code,
                             const std::function<void(int xuhao, const platform::data::Recordset&)>& row);

    platform::data::Connection connection_;
    platform::data::DataControl lookups_;
    std::optional<QStringList> tables_;  // read on the first question about the optional tables
};

}  // namespace tervolin::app

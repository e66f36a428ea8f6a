#include "app/knowledgebase.h"

#include <algorithm>
#include <utility>

#include "platform/data/recordset.h"
#include "platform/data/sqltext.h"

namespace tervolin::app {
namespace {

using platform::data::Recordset;

// The tables and columns; the queries below spell them out so that each query reads as the engine gets it.
const QString ParameterTable = QStringLiteral("canshu");
const QString ValueTable = QStringLiteral("canshuzhi");
const QString Daima = QStringLiteral("daima");
const QString Fenxi = QStringLiteral("fenxi");
const QString Jiejue = QStringLiteral("jiejue");
const QString Xuhao = QStringLiteral("xuhao");
const QString Hanyi = QStringLiteral("hanyi");
const QString Zhi = QStringLiteral("zhi");

const QString CodeListQuery = QStringLiteral("SELECT daima FROM lanping");

QString keyedQuery(const QString& head, const QString& key)
{
    return head + platform::data::sqlLiteralBody(key) + QLatin1Char('\'');
}

// A number written in hexadecimal digits, "0x" optional; nothing for anything else or more than 64 bits.
std::optional<std::uint64_t> parseHex(QStringView text)
{
    if (text.startsWith(u"0x", Qt::CaseInsensitive))
        text = text.mid(2);
    while (text.size() > 1 && text.front() == u'0')
        text = text.mid(1);
    if (text.isEmpty() || text.size() > 16)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const int digit = u >= u'0' && u <= u'9' ? u - u'0' : u >= u'a' && u <= u'f' ? u - u'a' + 10 : u >= u'A' && u <= u'F' ? u - u'A' + 10 : -1;
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | std::uint64_t(digit);
    }
    return value;
}

// The text of a field, NULL kept as a null QString.
QString storedText(const Recordset& recordset, const QString& field)
{
    const QVariant value = recordset.value(field);
    return value.isNull() ? QString() : value.toString();
}

}  // namespace

KnowledgeBase::KnowledgeBase(const QString& sharedConnectionString, const QString& dataControlConnectionString)
{
    connection_.setCursorLocation(platform::data::CursorLocation::Client);
    connection_.Open(sharedConnectionString, QString(), QString(), -1);
    lookups_.setConnectionString(dataControlConnectionString);
    lookups_.setCommandType(platform::data::CommandType::Text);
    lookups_.setRecordSource(QStringLiteral("select * from lanping"));
    // Every column a lookup reads must be there from the start, not only the one the code list reads.
    Recordset check;
    check.Open(QStringLiteral("SELECT daima,fenxi,jiejue FROM lanping"), connection_);
}

std::unique_ptr<KnowledgeBase> KnowledgeBase::openFile(const QString& path)
{
    return std::make_unique<KnowledgeBase>(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source = ") + path,
                                           QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + path
                                               + QStringLiteral(";Persist Security Info=False"));
}

QString KnowledgeBase::filePath() const { return connection_.engine()->filePath(); }

platform::TextList KnowledgeBase::codes()
{
    Recordset recordset;
    recordset.Open(CodeListQuery, connection_);
    platform::TextList codes;
    while (!recordset.isEOF()) {
        recordset.appendText(Daima, &codes);
        recordset.MoveNext();
    }
    return codes;
}

void KnowledgeBase::readCodes(qsizetype firstPart, qsizetype largestPart, const std::function<bool(platform::TextList)>& take)
{
    Recordset recordset;
    recordset.Open(CodeListQuery, connection_);
    qsizetype partSize = std::max<qsizetype>(firstPart, 1);
    platform::TextList part;
    while (!recordset.isEOF()) {
        recordset.appendText(Daima, &part);
        recordset.MoveNext();
        if (part.size() == partSize) {
            if (!take(std::exchange(part, {})))
                return;
            partSize = std::min(2 * partSize, std::max(largestPart, partSize));
        }
    }
    take(std::move(part));
}

qsizetype KnowledgeBase::count()
{
    Recordset recordset;
    recordset.Open(CodeListQuery, connection_);
    qsizetype rows = 0;
    for (; !recordset.isEOF(); recordset.MoveNext())
        ++rows;
    return rows;
}

std::vector<StoredCode> KnowledgeBase::rows()
{
    Recordset recordset;
    recordset.Open(QStringLiteral("SELECT daima,fenxi,jiejue FROM lanping"), connection_);
    std::vector<StoredCode> rows;
    for (; !recordset.isEOF(); recordset.MoveNext())
        rows.push_back({storedText(recordset, Daima), storedText(recordset, Fenxi), storedText(recordset, Jiejue)});
    return rows;
}

CodeAnswer KnowledgeBase::lookup(const QString& code)
{
    lookups_.setRecordSource(lookupQuery(code));
    lookups_.Refresh();
    const Recordset& recordset = lookups_.recordset();
    if (recordset.isBOF() || recordset.isEOF())
        return {};
    return {true, recordset.text(Fenxi), recordset.text(Jiejue)};
}

CodeMatch KnowledgeBase::lookupCode(std::uint32_t code)
{
    CodeMatch match{codeKey(code), lookup(codeKey(code))};
    constexpr std::uint32_t SameAsWithout = 0x10000000u;
    if (!match.answer.found && (code & SameAsWithout)) {
        const QString plain = codeKey(code & ~SameAsWithout);
        if (CodeAnswer answer = lookup(plain); answer.found)
            match = {plain, std::move(answer)};
    }
    return match;
}

QStringList KnowledgeBase::aliases(const QString& key)
{
    // Through the shared connection, so that the data control's recordset (the window's last lookup) stays as it is.
    Recordset own;
    own.Open(keyedQuery(QStringLiteral("select fenxi,jiejue from lanping where daima='"), key), connection_);
    if (own.isEOF())
        return {};
    const QString fenxi = own.text(Fenxi);
    const QString jiejue = own.text(Jiejue);
    // Rows with an empty analysis say nothing about belonging together.
    if (fenxi.isEmpty())
        return {};
    Recordset same;
    same.Open(keyedQuery(QStringLiteral("select daima,jiejue from lanping where fenxi='"), fenxi), connection_);
    QStringList found;
    for (; !same.isEOF(); same.MoveNext()) {
        const QString daima = storedText(same, Daima);
        if (!daima.isNull() && same.text(Jiejue) == jiejue && daima.compare(key, Qt::CaseInsensitive) != 0
            && !found.contains(daima, Qt::CaseInsensitive))
            found.append(daima);
    }
    return found;
}

QString KnowledgeBase::codeName(const QString& key)
{
    for (const QString& alias : aliases(key))
        if (!parseCode(alias.trimmed()))
            return alias;
    return {};
}

std::optional<std::uint32_t> KnowledgeBase::codeOfName(const QString& name)
{
    for (const QString& alias : aliases(name))
        if (const auto code = parseCode(alias.trimmed()))
            return code;
    return std::nullopt;
}

void KnowledgeBase::forEachParameterRow(const QString& table, const QString& select, std::uint32_t code,
                                        const std::function<void(int xuhao, const Recordset&)>& row)
{
    if (!hasTable(table))
        return;
    Recordset recordset;
    recordset.Open(keyedQuery(select, codeKey(code)), connection_);
    for (; !recordset.isEOF(); recordset.MoveNext()) {
        bool ok = false;
        const int xuhao = recordset.text(Xuhao).trimmed().toInt(&ok);
        // Only the four parameters a stop carries.
        if (ok && xuhao >= 1 && xuhao <= 4)
            row(xuhao, recordset);
    }
}

std::vector<ParameterMeaning> KnowledgeBase::parameterMeanings(std::uint32_t code)
{
    std::vector<ParameterMeaning> meanings;
    forEachParameterRow(ParameterTable, QStringLiteral("select xuhao,hanyi from canshu where daima='"), code,
                        [&](int xuhao, const Recordset& recordset) {
                            // Of two rows for one parameter the first counts.
                            if (std::none_of(meanings.begin(), meanings.end(), [&](const ParameterMeaning& m) { return m.xuhao == xuhao; }))
                                meanings.push_back({xuhao, recordset.text(Hanyi)});
                        });
    std::sort(meanings.begin(), meanings.end(), [](const ParameterMeaning& a, const ParameterMeaning& b) { return a.xuhao < b.xuhao; });
    return meanings;
}

QString KnowledgeBase::valueMeaning(std::uint32_t code, int xuhao, std::uint64_t value)
{
    for (const ParameterValue& documented : parameterValues(code))
        // "0x3" and "0x00000003" are the same value.
        if (documented.xuhao == xuhao && parseHex(documented.zhi) == value)
            return documented.hanyi;
    return {};
}

std::vector<ParameterValue> KnowledgeBase::parameterValues(std::uint32_t code)
{
    std::vector<ParameterValue> values;
    forEachParameterRow(ValueTable, QStringLiteral("select xuhao,zhi,hanyi from canshuzhi where daima='"), code,
                        [&](int xuhao, const Recordset& recordset) { values.push_back({xuhao, recordset.text(Zhi).trimmed(), recordset.text(Hanyi)}); });
    std::stable_sort(values.begin(), values.end(), [](const ParameterValue& a, const ParameterValue& b) { return a.xuhao < b.xuhao; });
    return values;
}

QString KnowledgeBase::lookupQuery(const QString& code)
{
    return keyedQuery(QStringLiteral("select fenxi,jiejue from lanping where daima='"), code);
}

QString KnowledgeBase::codeKey(std::uint32_t code)
{
    return QStringLiteral("0x") + QString::number(code, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

std::optional<std::uint32_t> KnowledgeBase::parseCode(const QString& text)
{
    if (!text.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive))
        return std::nullopt;
    const std::optional<std::uint64_t> value = parseHex(text);
    if (!value || *value > 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

bool KnowledgeBase::hasTable(const QString& name)
{
    if (!tables_)
        tables_ = connection_.engine()->tableNames();
    return tables_->contains(name, Qt::CaseInsensitive);
}

}  // namespace tervolin::app

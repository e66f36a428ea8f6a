#include "platform/data/jet/jetengine.h"

#include "platform/data/dataerror.h"
#include "platform/data/jet/jetfile.h"
#include "platform/data/jet/jetquery.h"

namespace tervolin::platform::data {
namespace {

std::unique_ptr<jet::JetFile> openChecked(const QString& path)
{
    QString error;
    std::unique_ptr<jet::JetFile> file = jet::JetFile::open(path, &error);
    if (!file)
        throw DataError(error, path);
    return file;
}

class JetCursor final : public Cursor
{
public:
    JetCursor(std::unique_ptr<jet::JetFile> file, std::unique_ptr<jet::JetQuery> query, QString path)
        : file_(std::move(file)), query_(std::move(query)), path_(std::move(path))
    {
    }

    bool step() override
    {
        QString error;
        if (query_->step(&error))
            return true;
        if (!error.isEmpty())
            throw DataError(error, path_);
        return false;
    }

    int columnIndex(const QString& name) const override
    {
        const QStringList& columns = query_->columns();
        for (int i = 0; i < columns.size(); ++i)
            if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }

    QVariant value(int column) const override
    {
        const QString text = query_->row().value(column);
        return text.isNull() ? QVariant() : QVariant(text);
    }

private:
    std::unique_ptr<jet::JetFile> file_;
    std::unique_ptr<jet::JetQuery> query_;
    QString path_;
};

class JetConnection final : public EngineConnection
{
public:
    explicit JetConnection(QString path) : path_(std::move(path)) { openChecked(path_); }

    // Each query reads through its own handle: libmdb keeps the current page in the handle, so two scans
    // sharing one would disturb each other.
    std::unique_ptr<Cursor> execute(const QString& sql) override
    {
        std::unique_ptr<jet::JetFile> file = openChecked(path_);
        QString error;
        std::unique_ptr<jet::JetQuery> query = jet::JetQuery::prepare(*file, sql, &error);
        if (!query)
            throw DataError(error, path_);
        return std::make_unique<JetCursor>(std::move(file), std::move(query), path_);
    }

    QStringList tableNames() override { return openChecked(path_)->tableNames(); }

    QString filePath() const override { return path_; }

private:
    QString path_;
};

}  // namespace

std::shared_ptr<EngineConnection> openJetFile(const QString& path) { return std::make_shared<JetConnection>(path); }

}  // namespace tervolin::platform::data

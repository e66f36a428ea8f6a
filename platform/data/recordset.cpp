#include "platform/data/recordset.h"

#include "platform/data/connection.h"
#include "platform/data/dataerror.h"

namespace tervolin::platform::data {

void Recordset::Open(const QString& source, const Connection& activeConnection) { Open(source, activeConnection.engine()); }

void Recordset::Open(const QString& source, const std::shared_ptr<EngineConnection>& engine)
{
    Close();
    filePath_ = engine->filePath();
    cursor_ = engine->execute(source);
    eof_ = !cursor_->step();
    bof_ = eof_;
}

void Recordset::Close()
{
    cursor_.reset();
    lastField_.clear();
    lastColumn_ = -1;
    bof_ = true;
    eof_ = true;
}

int Recordset::currentColumn(const QString& field) const
{
    if (!cursor_)
        throw DataError(QStringLiteral("the recordset is closed"), filePath_);
    if (bof_ || eof_)
        throw DataError(QStringLiteral("there is no current row (BOF or EOF)"), filePath_);
    // Loops read the same field row after row; its column is remembered.
    if (field != lastField_) {
        lastColumn_ = cursor_->columnIndex(field);
        lastField_ = field;
    }
    if (lastColumn_ < 0)
        throw DataError(QStringLiteral("the recordset has no field named %1").arg(field), filePath_);
    return lastColumn_;
}

QVariant Recordset::value(const QString& field) const
{
    const int column = currentColumn(field);
    return cursor_->value(column);
}

QString Recordset::text(const QString& field) const
{
    const int column = currentColumn(field);
    return cursor_->text(column);
}

void Recordset::appendText(const QString& field, TextList* list) const
{
    const int column = currentColumn(field);
    cursor_->appendText(column, list);
}

void Recordset::MoveNext()
{
    if (!cursor_ || eof_)
        throw DataError(QStringLiteral("there is no next row (EOF)"), filePath_);
    eof_ = !cursor_->step();
}

}  // namespace tervolin::platform::data

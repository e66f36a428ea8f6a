#pragma once
// The error every data-access failure raises: the engine's own message and the file it concerns.

#include <QString>

#include <stdexcept>

namespace tervolin::platform::data {

class DataError : public std::runtime_error
{
public:
    DataError(const QString& message, const QString& filePath)
        : std::runtime_error(message.toStdString()), message_(message), filePath_(filePath)
    {
    }

    /// The engine's error text, without the path.
    const QString& message() const { return message_; }
    /// The data file the failing call worked on (may be empty when no file was named).
    const QString& filePath() const { return filePath_; }

private:
    QString message_;
    QString filePath_;
};

}  // namespace tervolin::platform::data

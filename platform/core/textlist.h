#pragma once
// A list of texts kept back to back in one UTF-16 buffer with their end offsets: a million short entries cost
// two allocations instead of a million, and reading them from UTF-8 decodes straight into the buffer. Copies
// share both parts until one of them changes, so a copy handed to another thread costs nothing.

#include <QList>
#include <QString>
#include <QStringConverter>
#include <QStringList>
#include <QStringView>

#include <algorithm>

namespace tervolin::platform {

class TextList
{
public:
    TextList() = default;
    TextList(const QStringList& texts)  // NOLINT(google-explicit-constructor): a list of texts is one
    {
        for (const QString& text : texts)
            append(text);
    }

    qsizetype size() const { return ends_.size(); }
    bool isEmpty() const { return ends_.isEmpty(); }

    /// Entry i, valid until the list changes.
    QStringView at(qsizetype i) const
    {
        const qsizetype start = i == 0 ? 0 : ends_.at(i - 1);
        return QStringView(chars_).mid(start, ends_.at(i) - start);
    }
    QString text(qsizetype i) const { return at(i).toString(); }
    QString operator[](qsizetype i) const { return text(i); }

    void append(QStringView text)
    {
        chars_.append(text);
        ends_.append(chars_.size());
    }

    /// Appends every entry of another list.
    void append(const TextList& other)
    {
        if (isEmpty()) {
            *this = other;  // shares the other list's buffers
            return;
        }
        if (&other == this) {
            const TextList copy = other;
            append(copy);
            return;
        }
        const qsizetype base = chars_.size();
        chars_.append(other.chars_);
        ends_.reserve(ends_.size() + other.ends_.size());
        for (const qsizetype end : other.ends_)
            ends_.append(base + end);
    }

    /// Appends UTF-8 text, decoded as QString::fromUtf8 would (invalid sequences become U+FFFD, a leading BOM is dropped).
    void appendUtf8(const char* utf8, qsizetype size)
    {
        const qsizetype used = chars_.size();
        // Never more UTF-16 units than UTF-8 bytes; grow geometrically so that appends stay cheap.
        if (chars_.capacity() < used + size)
            chars_.reserve(std::max(used + size, 2 * chars_.capacity()));
        chars_.resize(used + size);
        QChar* const begin = chars_.data();
        QChar* out = begin + used;
        // Plain ASCII (every stop code) widens byte by byte; any other text goes through the decoder.
        qsizetype ascii = 0;
        while (ascii < size && static_cast<unsigned char>(utf8[ascii]) < 0x80) {
            out[ascii] = QChar(char16_t(utf8[ascii]));
            ++ascii;
        }
        const QChar* end = out + ascii;
        if (ascii < size) {
            // From the start again: whether a BOM is dropped depends on where it stands in the whole text.
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            end = decoder.appendToBuffer(out, QByteArrayView(utf8, size));
        }
        chars_.resize(end - begin);
        ends_.append(chars_.size());
    }

    void clear()
    {
        chars_ = QString();
        ends_ = QList<qsizetype>();
    }

    QStringList toStringList() const
    {
        QStringList list;
        list.reserve(size());
        for (qsizetype i = 0; i < size(); ++i)
            list.append(text(i));
        return list;
    }

    friend bool operator==(const TextList& a, const TextList& b) { return a.ends_ == b.ends_ && a.chars_ == b.chars_; }

private:
    QString chars_;
    QList<qsizetype> ends_;
};

}  // namespace tervolin::platform

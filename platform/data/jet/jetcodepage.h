#pragma once
// Jet 3 files (Access 97 and older) store texts in a Windows code page, not in UTF-16. The file header names it in
// two places: a code-page field, and the default sort order, a Windows language id whose language implies one.

#include <QString>
#include <QtGlobal>

#include <cstddef>

#include <iconv.h>

namespace tervolin::platform::data::jet {

/// True for the Windows code pages that CodePageDecoder decodes: 874, 932, 936, 949, 950 and 1250 to 1258.
bool isKnownCodePage(int codePage);

/// The code page that a Windows language id (a Jet 3 sort order) implies, or 0 when it implies none we know
/// (the neutral sort order, an unknown language).
int codePageOfLanguage(quint16 languageId);

/// The code page of a Jet 3 file's texts: the header's code-page field where it names a known code page, else the
/// code page its sort order implies, else 1252, the code page of the General sort order.
int jet3CodePage(quint16 codePageField, quint16 sortOrder);

/// Decodes texts stored in one Windows code page. A byte that does not start a valid character becomes U+FFFD and
/// decoding goes on after it, so damaged text never hides the rest of a value.
class CodePageDecoder {
public:
    /// A decoder for `codePage`; valid() is false when it is not a known code page or this system cannot convert it.
    explicit CodePageDecoder(int codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    bool valid() const { return converter_ != invalidConverter(); }
    int codePage() const { return codePage_; }
    /// The text of `length` bytes (no terminator needed; NUL bytes are kept as U+0000). Empty when not valid().
    QString decode(const unsigned char* bytes, std::size_t length);

private:
    static iconv_t invalidConverter() { return reinterpret_cast<iconv_t>(-1); }
    int codePage_;
    iconv_t converter_;
};

}  // namespace tervolin::platform::data::jet

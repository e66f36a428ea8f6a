#include "platform/data/jet/jetcodepage.h"

#include <cerrno>
#include <string>

namespace tervolin::platform::data::jet {
namespace {

// iconv's names for the Windows code pages; all are in glibc and in GNU libiconv.
const char* iconvName(int codePage)
{
    switch (codePage) {
    case 874: return "CP874";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1252: return "CP1252";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    default: return nullptr;
    }
}

constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
constexpr std::size_t kReplacementSize = sizeof kReplacement - 1;

}  // namespace

bool isKnownCodePage(int codePage) { return iconvName(codePage) != nullptr; }

int codePageOfLanguage(quint16 languageId)
{
    // A language id is a primary language (low 10 bits) and a sub-language (high 6 bits); the ANSI code page is
    // the primary language's, except where a language is written in two scripts.
    const int primary = languageId & 0x3ff;
    const int sub = languageId >> 10;
    switch (primary) {
    case 0x04:  // Chinese: Taiwan, Hong Kong, Macau and "Traditional" write Big5; the PRC and Singapore GBK
        return sub == 1 || sub == 3 || sub == 5 || sub == 0x1f ? 950 : 936;
    case 0x11: return 932;  // Japanese
    case 0x12: return 949;  // Korean
    case 0x1e: return 874;  // Thai
    case 0x2a: return 1258;  // Vietnamese
    case 0x08: return 1253;  // Greek
    case 0x1f: return 1254;  // Turkish
    case 0x0d: return 1255;  // Hebrew
    case 0x01: case 0x20: case 0x29: return 1256;  // Arabic, Urdu, Farsi
    case 0x25: case 0x26: case 0x27: return 1257;  // Estonian, Latvian, Lithuanian
    case 0x02: case 0x19: case 0x22: case 0x23: case 0x2f: case 0x3f: case 0x40: case 0x50:
        return 1251;  // Bulgarian, Russian, Ukrainian, Belarusian, Macedonian, Kazakh, Kyrgyz, Mongolian
    case 0x1a:  // Croatian, Serbian and Bosnian: Latin script, Serbian and Bosnian also Cyrillic
        return sub == 3 || sub == 7 || sub == 8 ? 1251 : 1250;
    case 0x05: case 0x0e: case 0x15: case 0x18: case 0x1b: case 0x1c: case 0x24:
        return 1250;  // Czech, Hungarian, Polish, Romanian, Slovak, Albanian, Slovenian
    case 0x00: return 0;  // neutral: no language, no code page
    case 0x03: case 0x06: case 0x07: case 0x09: case 0x0a: case 0x0b: case 0x0c: case 0x0f: case 0x10:
    case 0x13: case 0x14: case 0x1d: case 0x2d: case 0x36: case 0x38: case 0x3e: case 0x41:
        return 1252;  // Catalan, Danish, German, English, Spanish, Finnish, French, Icelandic, Italian, Dutch,
                      // Norwegian, Swedish, Basque, Afrikaans, Faroese, Malay, Swahili
    default: return 0;
    }
}

int jet3CodePage(quint16 codePageField, quint16 sortOrder)
{
    if (isKnownCodePage(codePageField))
        return codePageField;
    if (const int implied = codePageOfLanguage(sortOrder))
        return implied;
    return 1252;
}

CodePageDecoder::CodePageDecoder(int codePage) : codePage_(codePage), converter_(invalidConverter())
{
    if (const char* name = iconvName(codePage))
        converter_ = iconv_open("UTF-8", name);
}

CodePageDecoder::~CodePageDecoder()
{
    if (valid())
        iconv_close(converter_);
}

QString CodePageDecoder::decode(const unsigned char* bytes, std::size_t length)
{
    if (!valid() || length == 0)
        return QString();
    // One input byte mostly becomes at most three bytes of UTF-8 (a character of the Basic Multilingual Plane, or
    // U+FFFD for a skipped byte); the buffer grows should a code page ever give more.
    std::string out(length * 3 + 4, '\0');
    std::size_t used = 0;
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes));
    std::size_t inLeft = length;
    const auto convert = [&](char** input, std::size_t* inputLeft) {
        for (;;) {
            char* next = out.data() + used;
            std::size_t outLeft = out.size() - used;
            const std::size_t result = iconv(converter_, input, inputLeft, &next, &outLeft);
            const int error = errno;
            used = std::size_t(next - out.data());
            if (result != static_cast<std::size_t>(-1))
                return 0;
            if (error != E2BIG)
                return error;
            out.resize(out.size() * 2);
        }
    };
    iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        const int error = convert(&in, &inLeft);
        if (error == 0)
            break;
        if (error != EILSEQ && error != EINVAL)
            return QString::fromUtf8(out.data(), qsizetype(used)) + QChar::ReplacementCharacter;
        // An invalid sequence, or one cut off at the end: replace its first byte and go on after it.
        out.replace(used, kReplacementSize, kReplacement, kReplacementSize);
        used += kReplacementSize;
        if (out.size() - used < 8)
            out.resize(out.size() * 2);
        ++in;
        --inLeft;
        iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    }
    // Flush a code page that keeps state (1258 combines a base letter with a following tone mark).
    convert(nullptr, nullptr);
    return QString::fromUtf8(out.data(), qsizetype(used));
}

}  // namespace tervolin::platform::data::jet

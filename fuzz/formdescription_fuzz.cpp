// Feeds arbitrary bytes to the form-description reader. Errors are expected; crashes are not. A description
// that parses must survive a round trip: its JSON text parses again and gives the same text.
#include "platform/formdescription.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using tervolin::platform::FormDescription;
using tervolin::platform::FormDescriptionError;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    auto parsed = FormDescription::parse(bytes, QStringLiteral("fuzz.json"));
    if (auto* error = std::get_if<FormDescriptionError>(&parsed)) {
        if (error->file != QLatin1String("fuzz.json") || error->message.isEmpty()) {
            std::fprintf(stderr, "error without file or message: %s\n", qPrintable(error->toString()));
            std::abort();
        }
        (void)error->toString();
        return 0;
    }
    const FormDescription& form = std::get<FormDescription>(parsed);
    for (const auto& c : form.controls)
        (void)form.control(c.name);
    const QByteArray once = form.toJson();
    auto again = FormDescription::parse(once, QStringLiteral("again.json"));
    if (auto* error = std::get_if<FormDescriptionError>(&again)) {
        std::fprintf(stderr, "written description does not parse: %s\n%s\n", qPrintable(error->toString()), once.constData());
        std::abort();
    }
    const QByteArray twice = std::get<FormDescription>(again).toJson();
    if (twice != once) {
        std::fprintf(stderr, "round trip changed the description:\n%s\n---\n%s\n", once.constData(), twice.constData());
        std::abort();
    }
    return 0;
}

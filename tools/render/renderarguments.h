#pragma once
// What the drawing commands of the render tool share: one parser for their arguments (--size, --set, --out and
// a command's own options), the value syntax of --set, the cut to a control's outline and the PNG output.

#include "platform/region.h"
#include "platform/surface.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace tervolin::tools {

/// The arguments every drawing command takes.
struct RenderArguments
{
    QSize size;
    std::vector<std::pair<QString, QString>> sets;  ///< --set keys (trimmed) and values (as written), in order
    QString out;
};

/// The value after a command's own option: nothing when the arguments end there.
using NextArgument = std::function<std::optional<QString>()>;
/// Takes a command's own option; returns an error text, or nothing when the option was taken.
using OptionHandler = std::function<std::optional<QString>(const QString& option, const NextArgument& next)>;

/// Parses "--size WxH [--set Key=Value]... --out FILE" with the command's own options anywhere in between.
/// Without a handler every other argument is an error.
std::variant<RenderArguments, QString> parseRenderArguments(const QStringList& args, const OptionHandler& option = {});

/// The error text for an argument a command does not know.
QString unknownArgument(const QString& argument);

/// A value given on the command line: decimal or 0x hexadecimal integers (up to 32 bits, signed or unsigned),
/// true/false, anything else as text.
QVariant parseValue(const QString& text);

/// The surface's pixels as an image, transparent outside the region.
QImage imageInside(const platform::Surface& surface, const platform::Region& region);

/// Writes a drawn image as a PNG; returns the exit code (1 with a message when drawing or writing failed).
int writePng(const std::variant<QImage, QString>& drawn, const QString& file);

/// Reports a usage error with the usage text; returns the exit code 2.
int usageError(const QString& error, const QString& usage);

/// Runs a drawing command: its options parsed from the arguments (or a usage error), drawn, written to their
/// output file. Returns the exit code.
template <typename Parse, typename Draw>
int runDrawingCommand(const QStringList& args, Parse parse, Draw draw, const QString& usage)
{
    const auto parsed = parse(args);
    if (const QString* e = std::get_if<QString>(&parsed))
        return usageError(*e, usage);
    const auto& options = std::get<0>(parsed);
    return writePng(draw(options), options.out);
}

}  // namespace tervolin::tools

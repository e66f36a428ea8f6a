#include "tools/render/renderarguments.h"

#include "platform/propertystore.h"

#include <QTextStream>

#include <cstdint>
#include <limits>

namespace tervolin::tools {

namespace {

std::variant<QSize, QString> parseSize(const std::optional<QString>& text)
{
    const QString v = text.value_or(QString());
    const QStringList wh = v.split(QLatin1Char('x'));
    bool okW = false, okH = false;
    const int w = wh.size() == 2 ? wh[0].toInt(&okW) : 0;
    const int h = wh.size() == 2 ? wh[1].toInt(&okH) : 0;
    if (!okW || !okH || w <= 0 || h <= 0 || w > 4096 || h > 4096)
        return QStringLiteral("--size needs WxH with each side from 1 to 4096, not \"%1\"").arg(v);
    return QSize(w, h);
}

}  // namespace

QString unknownArgument(const QString& argument) { return QStringLiteral("unknown argument \"%1\"").arg(argument); }

std::variant<RenderArguments, QString> parseRenderArguments(const QStringList& args, const OptionHandler& option)
{
    RenderArguments parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const NextArgument next = [&]() -> std::optional<QString> {
            if (i + 1 >= args.size())
                return std::nullopt;
            return args.at(++i);
        };
        if (a == QLatin1String("--size")) {
            const auto size = parseSize(next());
            if (const QString* e = std::get_if<QString>(&size))
                return *e;
            parsed.size = std::get<QSize>(size);
        } else if (a == QLatin1String("--set")) {
            const std::optional<QString> v = next();
            const qsizetype eq = v ? v->indexOf(QLatin1Char('=')) : -1;
            if (eq < 0)
                return QStringLiteral("--set needs Key=Value");
            const QString key = v->left(eq).trimmed();
            if (key.isEmpty())
                return QStringLiteral("--set needs a key before \"=\"");
            parsed.sets.emplace_back(key, v->mid(eq + 1));
        } else if (a == QLatin1String("--out")) {
            const std::optional<QString> v = next();
            if (!v)
                return QStringLiteral("--out needs a file");
            parsed.out = *v;
        } else if (!option) {
            return unknownArgument(a);
        } else if (std::optional<QString> error = option(a, next)) {
            return *error;
        }
    }
    if (!parsed.size.isValid())
        return QStringLiteral("--size is required");
    if (parsed.out.isEmpty())
        return QStringLiteral("--out is required");
    return parsed;
}

QVariant parseValue(const QString& text)
{
    bool ok = false;
    const QString t = text.trimmed();
    qlonglong v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("-0x"), Qt::CaseInsensitive)) {
        v = -t.mid(3).toLongLong(&ok, 16);
    } else
        v = t.toLongLong(&ok, 10);
    if (ok && v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::uint32_t>::max())
        return platform::PropertyStore::normalise(v);
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return platform::PropertyStore::normalise(true);
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return platform::PropertyStore::normalise(false);
    return text;
}

QImage imageInside(const platform::Surface& surface, const platform::Region& region)
{
    QImage out = surface.image().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (!region.contains(x, y))
                line[x] = qRgba(0, 0, 0, 0);
    }
    return out;
}

int writePng(const std::variant<QImage, QString>& drawn, const QString& file)
{
    QTextStream err(stderr);
    if (const QString* e = std::get_if<QString>(&drawn)) {
        err << "tervolin-render: " << *e << "\n";
        return 1;
    }
    if (!std::get<QImage>(drawn).save(file, "PNG")) {
        err << "tervolin-render: cannot write \"" << file << "\"\n";
        return 1;
    }
    return 0;
}

int usageError(const QString& error, const QString& usage)
{
    QTextStream err(stderr);
    if (!error.isEmpty())
        err << "tervolin-render: " << error << "\n";
    err << usage;
    return 2;
}

}  // namespace tervolin::tools

#pragma once
// The button part of the render tool: command-line options to a vantlebutton drawn to an image.

#include "tools/render/renderarguments.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace tervolin::tools {

struct ButtonRenderOptions
{
    QSize size;
    std::vector<std::pair<QString, QVariant>> properties;  ///< store keys and values, in the given order
    std::int32_t state = 0;
    bool focus = false;
    bool displayAsDefault = false;
    bool parentActive = true;
    bool pointerOver = false;
    bool userMode = true;
    QString picture;
    QString pictureHover;
    QString out;
};

/// Parses the arguments after "button"; the error text says what is wrong.
std::variant<ButtonRenderOptions, QString> parseButtonArguments(const QStringList& args);

/// Draws the button with the pinned system colours. Pixels outside the window's outline are transparent.
/// An error text when a picture cannot be read.
std::variant<QImage, QString> renderButton(const ButtonRenderOptions& options);

/// The usage text.
QString buttonUsage();

/// "button --size WxH [options] --out FILE.png" (the arguments after the mode); returns the exit code.
int runButtonCommand(const QStringList& args);

}  // namespace tervolin::tools

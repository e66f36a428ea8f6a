#pragma once
// The button-gallery mode of the render tool: every button style in its six looks, one labelled grid.

#include "controls/button/buttontypes.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

#include <variant>

namespace tervolin::tools {

/// The looks of the gallery's columns, left to right.
QStringList galleryColumns();

/// Where the button of a style (row) and look (column) is drawn on the gallery sheet.
QRect galleryCell(controls::ButtonStyles style, int column);

/// Draws styles 0 to 15 (rows) × normal, hot, down, checked, disabled and focused in an active window (columns),
/// each a 97 × 25 button with the style's own default colours and a caption, with row and column labels.
/// An error text when a button cannot be drawn.
std::variant<QImage, QString> renderButtonGallery();

/// Runs "button-gallery --out FILE" (the arguments after the mode); returns the program's exit code.
int runButtonGallery(const QStringList& args);

}  // namespace tervolin::tools

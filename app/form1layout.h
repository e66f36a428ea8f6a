#pragma once
// The main window's design: its controls at their twip positions with their texts, colours, stacking and tab
// order, the three buttons as the stored form description has them, and the light-weight shapes that the window
// paints itself. The colours that the window's behaviour changes are here too, beside those it starts with.

#include <QRect>
#include <QString>

#include <variant>

#include "platform/colour.h"
#include "platform/formdescription.h"

class QImage;
class QLabel;
class QLineEdit;
class QPainter;
class QPlainTextEdit;
class QWidget;

namespace tervolin::controls {
class vantlebutton;
}

namespace tervolin::platform {
class ControlContainer;
class ListBox;
}  // namespace tervolin::platform

namespace tervolin::app {

/// The stored part of the design: the three buttons' placements and properties, read and checked before any
/// widget is built.
struct Form1Design
{
    platform::ControlDescription Command1;
    platform::ControlDescription vantlebutton2;
    platform::ControlDescription vantlebutton3;

    /// The design in a form description; the error names the file and what is missing.
    static std::variant<Form1Design, QString> from(const platform::FormDescription& description);
    /// The design built into the program.
    static std::variant<Form1Design, QString> load();
};

/// The window's controls, by their designer names.
struct Form1Controls
{
    QLineEdit* Text1 = nullptr;
    platform::ListBox* List1 = nullptr;
    QPlainTextEdit* Text2 = nullptr;
    QPlainTextEdit* Text3 = nullptr;
    controls::vantlebutton* Command1 = nullptr;
    controls::vantlebutton* vantlebutton2 = nullptr;  // close
    controls::vantlebutton* vantlebutton3 = nullptr;  // minimise
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
};

namespace Form1Layout {

inline constexpr platform::ColorRef FormBackColor = platform::rgb(239, 244, 252);
inline constexpr platform::ColorRef WindowBackground = platform::systemColour(5);  // Text1's background
inline constexpr platform::ColorRef ButtonText = platform::systemColour(18);       // Label6's text
inline constexpr platform::ColorRef Text1HoverBack = platform::rgb(220, 232, 250);
inline constexpr platform::ColorRef Label6HoverText = platform::rgb(0, 0, 255);

/// Sizes and frames the window and builds its controls on it, each with its object name; the buttons are sited in
/// `container` and read their stored properties.
Form1Controls build(QWidget& window, const Form1Design& design, platform::ControlContainer& container);

/// Where the light-weight controls that the window paints lie, in pixels.
QRect shape1Rect();  // the caption strip
QRect shape2Rect();  // the window's outline
QRect line1Rect();   // the separator under the input row
QRect image1Rect();  // the caption strip's icon
/// Paints them, bottom to top: Line1, Shape1, Shape2, Image1 (showing `icon`).
void paintShapes(QPainter& painter, const QImage& icon);

/// A label's text colour, a text box's background.
void setTextColour(QWidget& widget, platform::ColorRef colour);
void setBaseColour(QWidget& widget, platform::ColorRef colour);

}  // namespace Form1Layout

}  // namespace tervolin::app

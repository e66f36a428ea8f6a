#pragma once
// Window outlines: rectangle and rounded-rectangle regions that a widget takes as its shape (QWidget::setMask).
//
// Shape of our rounded rectangle (rectangle right/bottom exclusive, corner ellipse ellipseW × ellipseH, each clamped
// to the rectangle's size): in each corner, take the ellipse inscribed in the corner's first ellipseW columns and
// ellipseH rows, with both radii shortened by a quarter pixel; a pixel of that corner belongs to the region when its
// centre lies on or inside the ellipse (tested exactly in integers). An ellipse of 1 pixel or less in either
// direction gives square corners. So 3 × 3 and 4 × 4 remove the corner pixel only, and 18 × 18 removes
// 7, 4, 3, 2, 1, 1, 1 pixels from rows 0 to 6 of each corner (the same count for columns 0 to 6).

#include <QRegion>

#include "platform/geometry.h"

class QWidget;

namespace tervolin::platform {

class Region
{
public:
    /// An empty region.
    Region() = default;
    static Region rectangle(const Rect& r);
    static Region roundRect(const Rect& r, int ellipseW, int ellipseH);

    bool isEmpty() const { return rect_.isEmpty(); }
    bool contains(int x, int y) const;
    /// The covered columns [left, right) of row y; false when the row has none.
    bool rowSpan(int y, int& left, int& right) const;
    Rect boundingRect() const { return isEmpty() ? Rect{} : rect_; }

    QRegion toQRegion() const;
    /// Makes the region the widget's shape and asks for a repaint; the widget keeps its own copy.
    void applyTo(QWidget& widget) const;

private:
    Rect rect_;
    int ellipseW_ = 0;  // clamped to the rectangle; 0 for a plain rectangle
    int ellipseH_ = 0;
};

/// How many pixels the rounded shape leaves out of row j (0 = the outermost row) of a corner, for an ellipse
/// ellipseW × ellipseH (already clamped); 0 once the row is below the corner's curve.
int roundRectInset(int row, int ellipseW, int ellipseH);

}  // namespace tervolin::platform

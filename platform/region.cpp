#include "platform/region.h"

#include <algorithm>
#include <cstdint>

#include <QWidget>

namespace tervolin::platform {

int roundRectInset(int row, int ellipseW, int ellipseH)
{
    if (ellipseW <= 1 || ellipseH <= 1 || row < 0 || row >= (ellipseH + 1) / 2)
        return 0;
    // Doubled-and-doubled coordinates keep the quarter-pixel radii integral: a pixel centre x + 0.5 becomes
    // 4x + 2, the ellipse centre ew / 2 becomes 2ew, the radius ew / 2 − 1/4 becomes 2ew − 1.
    const std::int64_t rx = 2 * static_cast<std::int64_t>(ellipseW) - 1;
    const std::int64_t ry = 2 * static_cast<std::int64_t>(ellipseH) - 1;
    const std::int64_t dy = 4 * static_cast<std::int64_t>(row) + 2 - 2 * static_cast<std::int64_t>(ellipseH);
    const std::int64_t limit = rx * rx * ry * ry;
    int inset = 0;
    const int half = (ellipseW + 1) / 2;
    while (inset < half) {
        const std::int64_t dx = 4 * static_cast<std::int64_t>(inset) + 2 - 2 * static_cast<std::int64_t>(ellipseW);
        if (dx * dx * ry * ry + dy * dy * rx * rx <= limit)
            break;
        ++inset;
    }
    return inset;
}

Region Region::rectangle(const Rect& r)
{
    Region region;
    if (!r.isEmpty())
        region.rect_ = r;
    return region;
}

Region Region::roundRect(const Rect& r, int ellipseW, int ellipseH)
{
    Region region = rectangle(r);
    if (region.isEmpty())
        return region;
    const long long w = static_cast<long long>(r.right) - r.left;
    const long long h = static_cast<long long>(r.bottom) - r.top;
    region.ellipseW_ = static_cast<int>(std::clamp<long long>(ellipseW, 0, w));
    region.ellipseH_ = static_cast<int>(std::clamp<long long>(ellipseH, 0, h));
    if (region.ellipseW_ <= 1 || region.ellipseH_ <= 1)
        region.ellipseW_ = region.ellipseH_ = 0;
    return region;
}

bool Region::rowSpan(int y, int& left, int& right) const
{
    if (isEmpty() || y < rect_.top || y >= rect_.bottom)
        return false;
    const long long fromTop = static_cast<long long>(y) - rect_.top;
    const long long fromBottom = static_cast<long long>(rect_.bottom) - 1 - y;
    const long long row = std::min(fromTop, fromBottom);
    const int inset = row < ellipseH_ ? roundRectInset(static_cast<int>(row), ellipseW_, ellipseH_) : 0;
    left = rect_.left + inset;
    right = rect_.right - inset;
    return left < right;
}

bool Region::contains(int x, int y) const
{
    int l = 0, r = 0;
    return rowSpan(y, l, r) && x >= l && x < r;
}

QRegion Region::toQRegion() const
{
    QRegion out;
    if (isEmpty())
        return out;
    const auto add = [&out](int l, int t, int r, int b) {
        if (r > l && b > t)
            out += QRect(l, t, r - l, b - t);
    };
    const int corner = (ellipseH_ + 1) / 2;
    const long long height = static_cast<long long>(rect_.bottom) - rect_.top;
    if (corner == 0 || height <= 2LL * corner) {
        // Square corners, or a shape that is all corner rows: one rectangle, or one per row.
        if (corner == 0) {
            add(rect_.left, rect_.top, rect_.right, rect_.bottom);
            return out;
        }
        for (int y = rect_.top; y < rect_.bottom; ++y) {
            int l = 0, r = 0;
            if (rowSpan(y, l, r))
                add(l, y, r, y + 1);
        }
        return out;
    }
    for (int i = 0; i < corner; ++i) {
        int l = 0, r = 0;
        if (rowSpan(rect_.top + i, l, r))
            add(l, rect_.top + i, r, rect_.top + i + 1);
        if (rowSpan(rect_.bottom - 1 - i, l, r))
            add(l, rect_.bottom - 1 - i, r, rect_.bottom - i);
    }
    add(rect_.left, rect_.top + corner, rect_.right, rect_.bottom - corner);
    return out;
}

void Region::applyTo(QWidget& widget) const
{
    widget.setMask(toQRegion());
    widget.update();
}

}  // namespace tervolin::platform

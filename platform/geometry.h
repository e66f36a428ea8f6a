#pragma once
// Integer rectangles in pixel coordinates: left and top inclusive, right and bottom exclusive.

namespace tervolin::platform {

struct Rect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    /// (x, y, x + width, y + height); sums beyond the int range saturate instead of wrapping.
    static constexpr Rect fromSize(int x, int y, int width, int height) { return {x, y, saturate(x, width), saturate(y, height)}; }
    static constexpr int saturate(long long a, long long b)
    {
        const long long s = a + b;
        return s > 2147483647LL ? 2147483647 : (s < -2147483648LL ? static_cast<int>(-2147483647 - 1) : static_cast<int>(s));
    }

    /// Width and height; meant for rectangles of ordinary size (the surface clips before it measures).
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    /// True when the rectangle covers no pixel (zero size or inverted).
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr Rect intersected(const Rect& o) const
    {
        return {left > o.left ? left : o.left, top > o.top ? top : o.top, right < o.right ? right : o.right,
                bottom < o.bottom ? bottom : o.bottom};
    }
    constexpr Rect adjusted(int dl, int dt, int dr, int db) const { return {left + dl, top + dt, right + dr, bottom + db}; }
    friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace tervolin::platform

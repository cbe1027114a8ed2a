#pragma once

namespace talvane {

// A point in twips.
struct TwipPoint {
    float x = 0;
    float y = 0;
    bool operator==(const TwipPoint&) const = default;
};

// A rectangle in twips (1/1440 inch), relative to the window's top-left corner.
struct TwipRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    float right() const { return left + width; }
    float bottom() const { return top + height; }
    bool contains(float x, float y) const {
        return x >= left && x < left + width && y >= top && y < top + height;
    }
    // Whether the two share an area (touching edges share none).
    bool intersects(const TwipRect& other) const {
        return left < other.right() && other.left < right() && top < other.bottom() &&
               other.top < bottom();
    }
    bool operator==(const TwipRect&) const = default;
};

// The visible region of a window: a rectangle with rounded corners, in
// pixels relative to the window's top-left corner.
struct RoundRectRegion {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int ellipseWidth = 0;
    int ellipseHeight = 0;
    bool operator==(const RoundRectRegion&) const = default;
};

}  // namespace talvane

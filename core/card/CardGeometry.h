#pragma once

// Points and boxes on a card or a screen, in device pixels.
namespace talvane::card {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct CardBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool contains(Point at) const {
        return at.x >= left && at.x < left + width && at.y >= top && at.y < top + height;
    }
    bool operator==(const CardBox&) const = default;
};

}  // namespace talvane::card

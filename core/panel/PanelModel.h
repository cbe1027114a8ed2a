#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Element.h"
#include "platform/Geometry.h"

namespace talvane {

// The panel's elements in stacking order, with what a face needs to draw
// them and route the pointer: hit-testing and the rectangles that changed.
// Holds no toolkit types; a Qt widget or a Win32 window only draws it.
class PanelModel {
  public:
    // elements: topmost first. Every (name, index) must occur exactly once;
    // throws std::invalid_argument otherwise.
    explicit PanelModel(std::vector<Element> elements);

    const std::vector<Element>& elements() const { return elements_; }

    // Throws std::out_of_range for a name/index pair that does not exist
    // (an index outside 0..4 for a row array, anything but -1 otherwise).
    const Element& at(ElementName name, int index = kSingle) const;

    // Each setter records damage only when the value really changes and the
    // change can be seen: a hidden element's picture, caption or position
    // changes nothing on screen until it is shown, and showing it damages
    // its rectangle. A move damages the old and the new rectangle.
    void setVisible(ElementName name, int index, bool visible);
    void setPicture(ElementName name, int index, Picture picture);
    void setCaption(ElementName name, int index, std::u16string caption);
    void setPosition(ElementName name, int index, float left, float top);

    // The topmost visible element whose rectangle contains the point;
    // nullptr when the point is on the window's bare background. The pointer
    // stays valid as long as the model lives.
    const Element* hitTest(float xTwips, float yTwips) const;

    // The visible elements that reach into a dirty area, in the order they
    // are drawn: the bottom of the stack first, so that what lies on top is
    // drawn last.
    std::vector<const Element*> paintOrder(const TwipRect& dirty) const;

    // The changed rectangles since the last call, without duplicates.
    std::vector<TwipRect> takeDamage();
    bool hasDamage() const { return !damage_.empty(); }

  private:
    Element& slot(ElementName name, int index);
    void addDamage(const TwipRect& rect);

    std::vector<Element> elements_;
    // Position in elements_ by name * kPanelRows + max(index, 0).
    std::array<std::uint8_t, kElementNameCount * kPanelRows> lookup_{};
    std::vector<TwipRect> damage_;
};

}  // namespace talvane

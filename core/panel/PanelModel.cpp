#include "app/PanelModel.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

namespace talvane {

namespace {

constexpr std::uint8_t kNoSlot = std::numeric_limits<std::uint8_t>::max();

constexpr int lookupKey(ElementName name, int index) {
    return static_cast<int>(name) * kPanelRows + std::max(index, 0);
}

// Enough for the largest hover change (a highlight, two arrows and a
// balloon) many times over, so that moves never grow the buffer.
constexpr std::size_t kDamageReserve = 64;

}  // namespace

PanelModel::PanelModel(std::vector<Element> elements) : elements_(std::move(elements)) {
    if (elements_.size() >= kNoSlot) {
        throw std::invalid_argument("PanelModel: too many elements");
    }
    lookup_.fill(kNoSlot);
    for (std::size_t i = 0; i < elements_.size(); ++i) {
        const ElementId id = elements_[i].id;
        if (!IsValidElementId(id.name, id.index)) {
            throw std::invalid_argument(std::string("PanelModel: invalid index of ") +
                                        ElementNameText(id.name));
        }
        std::uint8_t& entry = lookup_[lookupKey(id.name, id.index)];
        if (entry != kNoSlot) {
            throw std::invalid_argument(std::string("PanelModel: duplicate ") +
                                        ElementNameText(id.name));
        }
        entry = static_cast<std::uint8_t>(i);
    }
    damage_.reserve(kDamageReserve);
}

const Element& PanelModel::at(ElementName name, int index) const {
    if (!IsValidElementId(name, index) || lookup_[lookupKey(name, index)] == kNoSlot) {
        throw std::out_of_range(std::string("PanelModel: no element ") + ElementNameText(name) +
                                "(" + std::to_string(index) + ")");
    }
    return elements_[lookup_[lookupKey(name, index)]];
}

Element& PanelModel::slot(ElementName name, int index) {
    return const_cast<Element&>(std::as_const(*this).at(name, index));
}

void PanelModel::setVisible(ElementName name, int index, bool visible) {
    Element& e = slot(name, index);
    if (e.visible == visible) {
        return;
    }
    e.visible = visible;
    addDamage(e.rect);
}

void PanelModel::setPicture(ElementName name, int index, Picture picture) {
    Element& e = slot(name, index);
    if (e.picture == picture) {
        return;
    }
    e.picture = picture;
    if (e.visible) {
        addDamage(e.rect);
    }
}

void PanelModel::setCaption(ElementName name, int index, std::u16string caption) {
    Element& e = slot(name, index);
    if (e.caption == caption) {
        return;
    }
    e.caption = std::move(caption);
    if (e.visible) {
        addDamage(e.rect);
    }
}

void PanelModel::setPosition(ElementName name, int index, float left, float top) {
    Element& e = slot(name, index);
    if (e.rect.left == left && e.rect.top == top) {
        return;
    }
    const TwipRect old = e.rect;
    e.rect.left = left;
    e.rect.top = top;
    if (e.visible) {
        addDamage(old);
        addDamage(e.rect);
    }
}

const Element* PanelModel::hitTest(float xTwips, float yTwips) const {
    for (const Element& e : elements_) {
        if (e.visible && e.rect.contains(xTwips, yTwips)) {
            return &e;
        }
    }
    return nullptr;
}

std::vector<const Element*> PanelModel::paintOrder(const TwipRect& dirty) const {
    std::vector<const Element*> order;
    order.reserve(elements_.size());
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
        if (it->visible && it->rect.intersects(dirty)) {
            order.push_back(&*it);
        }
    }
    return order;
}

std::vector<TwipRect> PanelModel::takeDamage() {
    // A copy rather than a swap keeps the reserved buffer for the next moves.
    std::vector<TwipRect> taken(damage_.begin(), damage_.end());
    damage_.clear();
    return taken;
}

void PanelModel::addDamage(const TwipRect& rect) {
    if (rect.width <= 0 || rect.height <= 0) {
        return;
    }
    if (std::find(damage_.begin(), damage_.end(), rect) == damage_.end()) {
        damage_.push_back(rect);
    }
}

}  // namespace talvane

#include "app/AccessibleElements.h"

namespace talvane {

namespace {

void addIfShown(std::vector<AccessibleElement>& out, const PanelModel& model, ElementName name,
                int index, AccessibleRole role, std::u16string pictureName = {}) {
    const Element& element = model.at(name, index);
    std::u16string text = element.kind == ElementKind::Label ? element.caption : pictureName;
    if (element.visible && !text.empty()) {
        out.push_back({element.id, role, std::move(text)});
    }
}

}  // namespace

std::vector<AccessibleElement> AccessibleElements(const PanelModel& model) {
    std::vector<AccessibleElement> out;
    addIfShown(out, model, ElementName::Image1, kSingle, AccessibleRole::Link, kBannerName);
    addIfShown(out, model, ElementName::imgMini, kSingle, AccessibleRole::Button, kMinimiseName);
    addIfShown(out, model, ElementName::imgClose, kSingle, AccessibleRole::Button, kCloseName);
    for (int row = 0; row < kPanelRows; ++row) {
        addIfShown(out, model, ElementName::lblList, row, AccessibleRole::Link);
        addIfShown(out, model, ElementName::lblReg, row, AccessibleRole::Link);
        addIfShown(out, model, ElementName::lblTime, row, AccessibleRole::Link);
        addIfShown(out, model, ElementName::imgNew, row, AccessibleRole::StaticText, kNewBadgeName);
        addIfShown(out, model, ElementName::txtMainTop, row, AccessibleRole::StaticText);
        addIfShown(out, model, ElementName::txtMainBottom, row, AccessibleRole::StaticText);
    }
    addIfShown(out, model, ElementName::lblBottom2, kSingle, AccessibleRole::Link);
    return out;
}

std::vector<int> FocusableRows(const PanelModel& model) {
    std::vector<int> rows;
    for (int row = 0; row < kPanelRows; ++row) {
        const Element& title = model.at(ElementName::lblList, row);
        if (title.visible && !title.caption.empty()) {
            rows.push_back(row);
        }
    }
    return rows;
}

}  // namespace talvane

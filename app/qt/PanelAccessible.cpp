#include "app/qt/PanelAccessible.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <map>
#include <optional>

#include "app/AccessibleElements.h"
#include "app/PanelDesign.h"
#include "app/qt/PanelView.h"
#include "support/qt/AccessibleLeaf.h"

namespace talvane {

namespace {

std::optional<AccessibleElement> shownElement(const PanelView& view, ElementId id) {
    if (view.model() == nullptr) {
        return std::nullopt;
    }
    for (AccessibleElement& element : AccessibleElements(*view.model())) {
        if (element.id == id) {
            return std::move(element);
        }
    }
    return std::nullopt;
}

// One element of the panel. It has no QObject of its own: it asks the view
// for what the element shows now, so a caption or a balloon that changes is
// read as it is.
class PanelElementAccessible : public AccessibleLeaf {
  public:
    PanelElementAccessible(PanelView& view, ElementId id) : AccessibleLeaf(view), id_(id) {}

    QString text(QAccessible::Text t) const override {
        const auto element = current();
        return t == QAccessible::Name && element ? QString::fromStdU16String(element->name)
                                                 : QString();
    }
    QRect rect() const override { return view() ? view()->elementScreenRect(id_) : QRect(); }

    QAccessible::Role role() const override {
        switch (roleNow()) {
            case AccessibleRole::Link:
                return QAccessible::Link;
            case AccessibleRole::Button:
                return QAccessible::Button;
            case AccessibleRole::StaticText:
                break;
        }
        return QAccessible::StaticText;
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        const auto element = current();
        state.invisible = !element;
        state.readOnly = true;
        if (id_.name == ElementName::lblList) {
            state.focusable = true;
            state.focused = view() && view()->focusedRow() == id_.index;
        }
        state.linked = element && element->role == AccessibleRole::Link;
        return state;
    }

    QStringList actionNames() const override {
        return hasAction() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString& actionName) override {
        if (actionName == pressAction() && hasAction()) {
            view()->activateElement(id_);
        }
    }

  private:
    PanelView* view() const { return static_cast<PanelView*>(owner()); }
    std::optional<AccessibleElement> current() const {
        return view() ? shownElement(*view(), id_) : std::nullopt;
    }
    AccessibleRole roleNow() const {
        const auto element = current();
        return element ? element->role : AccessibleRole::StaticText;
    }
    bool hasAction() const {
        const auto element = current();
        return element && element->role != AccessibleRole::StaticText;
    }

    ElementId id_;
};

// The panel window: its children are the elements shown now, in reading
// order. Each element keeps one interface (and one id) for its lifetime, as
// assistive technology expects.
class PanelAccessible : public QAccessibleWidget {
  public:
    explicit PanelAccessible(PanelView& view)
        : QAccessibleWidget(&view, QAccessible::Window), view_(view) {}

    ~PanelAccessible() override {
        for (const auto& [key, id] : children_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? QString::fromStdU16String(kFormCaption)
                                      : QAccessibleWidget::text(t);
    }

    int childCount() const override { return static_cast<int>(shown().size()); }

    QAccessibleInterface* child(int index) const override {
        const auto elements = shown();
        if (index < 0 || index >= static_cast<int>(elements.size())) {
            return nullptr;
        }
        return interfaceFor(elements[index].id);
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto elements = shown();
        for (std::size_t i = 0; i < elements.size(); ++i) {
            if (interfaceFor(elements[i].id) == child) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        for (const AccessibleElement& element : shown()) {
            if (view_.elementScreenRect(element.id).contains(x, y)) {
                return interfaceFor(element.id);
            }
        }
        return nullptr;
    }

    QAccessibleInterface* focusChild() const override {
        const int row = view_.focusedRow();
        return row >= 0 ? interfaceFor({ElementName::lblList, static_cast<std::int16_t>(row)})
                        : nullptr;
    }

  private:
    std::vector<AccessibleElement> shown() const {
        return view_.model() != nullptr ? AccessibleElements(*view_.model())
                                        : std::vector<AccessibleElement>{};
    }

    QAccessibleInterface* interfaceFor(ElementId element) const {
        const int key =
            static_cast<int>(element.name) * kPanelRows + std::max<int>(element.index, 0);
        auto it = children_.find(key);
        if (it == children_.end()) {
            auto* iface = new PanelElementAccessible(view_, element);
            it = children_.emplace(key, QAccessible::registerAccessibleInterface(iface)).first;
        }
        return QAccessible::accessibleInterface(it->second);
    }

    PanelView& view_;
    mutable std::map<int, QAccessible::Id> children_;
};

QAccessibleInterface* panelFactory(const QString&, QObject* object) {
    if (auto* view = qobject_cast<PanelView*>(object)) {
        return new PanelAccessible(*view);
    }
    return nullptr;
}

}  // namespace

void InstallPanelAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(panelFactory);
        return true;
    }();
    (void)installed;
}

void NotifyPanelFocusMoved(PanelView& view) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(&view);
    if (QAccessibleInterface* focused = panel != nullptr ? panel->focusChild() : nullptr) {
        QAccessibleEvent event(focused, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

}  // namespace talvane

#pragma once

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace talvane {

// What assistive technology sees of one part of a hand-painted widget: a
// leaf without a QObject of its own, placed in the widget's window, with the
// widget's accessibility object as its parent. Subclasses say what the part
// is (text, rect, role, state) and what its actions do. Header-only: the
// panel and the popup component, a library of its own, both use it.
class AccessibleLeaf : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    explicit AccessibleLeaf(QWidget& owner) : owner_(&owner) {}

    bool isValid() const override { return !owner_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return owner_ ? owner_->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(owner_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  protected:
    // Null once the widget is gone.
    QWidget* owner() const { return owner_.data(); }

  private:
    QPointer<QWidget> owner_;
};

}  // namespace talvane

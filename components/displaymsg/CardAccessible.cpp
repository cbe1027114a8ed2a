#include "components/displaymsg/CardAccessible.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleWidget>
#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <array>

#include "components/displaymsg/PopupCard.h"
#include "support/qt/AccessibleLeaf.h"

namespace talvane::displaymsg {

namespace {

enum class Part { Heading, Title, Time, Note, LinkLine, Close };
constexpr std::array kParts{Part::Heading, Part::Title,    Part::Time,
                            Part::Note,    Part::LinkLine, Part::Close};

QRect blockRect(const card::TextBlock& block, const QFont& font, int cardWidth) {
    const QFontMetrics metrics(font);
    const int lines = static_cast<int>(block.lines.size());
    const int height = lines * metrics.lineSpacing() +
                       std::max(0, lines - 1) * (block.step - metrics.lineSpacing());
    return {toQPoint(block.topLeft), QSize(cardWidth - 2 * block.topLeft.x, height)};
}

QString partName(const PopupCard& card, Part part) {
    const AlertContent& content = card.content();
    const card::CardLayout& layout = card.layout();
    switch (part) {
        case Part::Heading:
            return toQString(layout.heading.text);
        case Part::Title:
            return shownQString(content.title);
        case Part::Time:
            return layout.timeLabel.text.empty()
                       ? QString()
                       : toQString(layout.timeLabel.text) + shownQString(content.time);
        case Part::Note:
            return shownQString(content.note);
        case Part::LinkLine:
            return layout.footer.lines.empty() ? QString() : toQString(layout.footer.lines.front());
        case Part::Close:
            return QStringLiteral("关闭");
    }
    return {};
}

QRect partRect(const PopupCard& card, Part part) {
    using card::CardFont;
    const card::CardLayout& layout = card.layout();
    const CardFonts& fonts = card.fonts();
    const int width = layout.width;
    switch (part) {
        case Part::Heading:
            return toQRect(layout.header).adjusted(0, 0, -(width - layout.closeCentre.x + 12), 0);
        case Part::Title:
            return blockRect(layout.title, fonts.font(CardFont::Title), width);
        case Part::Time: {
            const card::Point topLeft = layout.timeLabel.topLeft;
            return {topLeft.x, topLeft.y, width - 2 * topLeft.x,
                    fonts.metrics(CardFont::Text).lineSpacing};
        }
        case Part::Note:
            return blockRect(layout.body, fonts.font(CardFont::Text), width);
        case Part::LinkLine:
            return blockRect(layout.footer, fonts.font(CardFont::Small), width);
        case Part::Close:
            return {toQPoint(layout.closeCentre) - QPoint(12, 12), QSize(24, 24)};
    }
    return {};
}

QAccessible::Role partRole(const PopupCard& card, Part part) {
    if (part == Part::Close) return QAccessible::Button;
    const bool opens = !card.content().link.isEmpty();
    return opens && (part == Part::Title || part == Part::LinkLine) ? QAccessible::Link
                                                                    : QAccessible::StaticText;
}

// A left click at the point, through the card's own mouse handling.
void clickAt(PopupCard& card, QPoint point) {
    const QPointF local(point);
    const QPointF global = card.mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&card, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&card, &release);
}

class CardPartAccessible : public AccessibleLeaf {
  public:
    CardPartAccessible(PopupCard& card, Part part) : AccessibleLeaf(card), part_(part) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && card() ? partName(*card(), part_) : QString();
    }
    QRect rect() const override {
        if (!card()) return {};
        const QRect local = partRect(*card(), part_);
        return {card()->mapToGlobal(local.topLeft()), local.size()};
    }
    QAccessible::Role role() const override {
        return card() ? partRole(*card(), part_) : QAccessible::StaticText;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        state.linked = role() == QAccessible::Link;
        return state;
    }
    QStringList actionNames() const override {
        return role() == QAccessible::StaticText ? QStringList{} : QStringList{pressAction()};
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && role() != QAccessible::StaticText) {
            clickAt(*card(), part_ == Part::Close ? toQPoint(card()->layout().closeCentre)
                                                  : partRect(*card(), part_).center());
        }
    }

  private:
    PopupCard* card() const { return static_cast<PopupCard*>(owner()); }

    Part part_;
};

class CardAccessible : public QAccessibleWidget {
  public:
    explicit CardAccessible(PopupCard& card)
        : QAccessibleWidget(&card, QAccessible::Notification), card_(card) {
        for (const Part part : kParts) {
            if (!partName(card, part).isEmpty()) {
                children_.append(
                    QAccessible::registerAccessibleInterface(new CardPartAccessible(card, part)));
            }
        }
    }
    ~CardAccessible() override {
        for (const QAccessible::Id id : children_) QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? toQString(card_.layout().heading.text)
                                      : QAccessibleWidget::text(t);
    }
    int childCount() const override { return static_cast<int>(children_.size()); }
    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < children_.size()
                   ? QAccessible::accessibleInterface(children_[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return children_.indexOf(QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child)));
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = childCount() - 1; i >= 0; --i) {
            QAccessibleInterface* part = child(i);
            if (part->rect().contains(x, y)) return part;
        }
        return nullptr;
    }

  private:
    PopupCard& card_;
    QList<QAccessible::Id> children_;
};

QAccessibleInterface* cardFactory(const QString&, QObject* object) {
    if (auto* card = dynamic_cast<PopupCard*>(object)) {
        return new CardAccessible(*card);
    }
    return nullptr;
}

}  // namespace

void InstallCardAccessibility() { QAccessible::installFactory(cardFactory); }

void RemoveCardAccessibility() { QAccessible::removeFactory(cardFactory); }

}  // namespace talvane::displaymsg

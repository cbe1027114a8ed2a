#include "components/displaymsg/PopupCard.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <chrono>

#include "components/displaymsg/CardAccessible.h"
#include "components/displaymsg/PopupStack.h"

namespace talvane::displaymsg {

namespace {

namespace look = card::look;

QColor colour(look::Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

const QColor kAccent = colour(look::kAccent);
const QColor kAccentLight = colour(look::kAccentLight);
const QColor kTitleColour = colour(look::kTitleColour);
const QColor kTextColour = colour(look::kTextColour);
const QColor kMutedColour = colour(look::kMutedColour);
const QColor kRuleColour = colour(look::kRuleColour);
const QColor kBorderColour = colour(look::kBorderColour);
const QColor kHeaderBorderColour = colour(look::kHeaderBorderColour);

int existingCards = 0;

QPainterPath bellPath() {
    QPainterPath bell;
    bell.moveTo(-7, 4.5);
    bell.lineTo(7, 4.5);
    bell.lineTo(5.2, 2.2);
    bell.lineTo(5.2, -1.5);
    bell.cubicTo(5.2, -5.2, 2.9, -7.2, 0, -7.2);
    bell.cubicTo(-2.9, -7.2, -5.2, -5.2, -5.2, -1.5);
    bell.lineTo(-5.2, 2.2);
    bell.closeSubpath();
    bell.addEllipse(QPointF(0, 6.6), 2.0, 1.8);
    bell.addEllipse(QPointF(0, -8.2), 1.3, 1.3);
    return bell;
}

void drawLine(QPainter& painter, const card::TextLine& line, const QFont& font) {
    painter.setFont(font);
    painter.drawText(toQPoint(line.topLeft) + QPoint(0, QFontMetrics(font).ascent()),
                     toQString(line.text));
}

void drawBlock(QPainter& painter, const card::TextBlock& block, const QFont& font) {
    painter.setFont(font);
    const int ascent = QFontMetrics(font).ascent();
    int y = block.topLeft.y;
    for (const std::u16string& line : block.lines) {
        painter.drawText(block.topLeft.x, y + ascent, toQString(line));
        y += block.step;
    }
}

std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

card::CardButton buttonOf(const QMouseEvent* event) {
    return event->button() == Qt::LeftButton ? card::CardButton::Primary : card::CardButton::Other;
}

}  // namespace

PopupCard::PopupCard(const AlertContent& content, int lifetimeMs, const QString& message)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      content_(content),
      message_(message),
      countdown_(lifetimeMs, steadyMs) {
    if (existingCards++ == 0) InstallCardAccessibility();
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_X11NetWmWindowTypeNotification);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(shownQString(content_.title.isEmpty() ? content_.heading : content_.title));
    if (!content_.link.isEmpty()) setCursor(Qt::PointingHandCursor);

    expiry_.setSingleShot(true);
    connect(&expiry_, &QTimer::timeout, this, [this] {
        if (countdown_.expired()) {
            close();
        } else {
            followCountdown();
        }
    });
    progress_.setInterval(100);
    connect(&progress_, &QTimer::timeout, this, [this] { updateBar(); });

    layOut();
    followCountdown();
}

PopupCard::~PopupCard() {
    PopupStack::forget(this);
    if (--existingCards == 0) RemoveCardAccessibility();
}

int PopupCard::existing() { return existingCards; }

void PopupCard::restartCountdown() {
    countdown_.restart();
    followCountdown();
    updateBar();
}

void PopupCard::followCountdown() {
    if (countdown_.running()) {
        expiry_.start(countdown_.msUntilExpiry());
        progress_.start();
    } else {
        expiry_.stop();
        progress_.stop();
    }
}

void PopupCard::updateBar() {
    const int width = countdown_.barWidth(layout_.progress.width);
    if (width == barDrawn_) return;
    const QRect bar = toQRect(layout_.progress);
    const int from = std::min(width, barDrawn_);
    update(bar.left() + from, bar.top(), std::max(width, barDrawn_) - from, bar.height());
}

void PopupCard::layOut() {
    const std::u16string heading = content_.heading.toStdU16String();
    const std::u16string time = content_.time.toStdU16String();
    const std::u16string title = content_.title.toStdU16String();
    const std::u16string note = content_.note.toStdU16String();
    layout_ = card::layOutCard({heading, time, title, note, !content_.link.isEmpty()}, fonts_);
    setFixedSize(layout_.width, layout_.height);

    // Without a compositor only a mask gives the card round corners; the
    // painting inside it smooths them.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), layout_.radius, layout_.radius);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void PopupCard::paintEvent(QPaintEvent*) {
    const card::CardLayout& card = layout_;
    const QRect header = toQRect(card.header);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), card.radius, card.radius);
    // What the mask lets through outside the outline takes the border's colour.
    painter.fillRect(rect(), kBorderColour);
    painter.fillRect(header, kHeaderBorderColour);
    painter.fillPath(outline, Qt::white);
    painter.setClipPath(outline);

    QLinearGradient gradient(0, 0, width(), 0);
    gradient.setColorAt(0, kAccent);
    gradient.setColorAt(1, kAccentLight);
    painter.fillRect(header, gradient);

    painter.save();
    painter.translate(toQPoint(card.bellCentre));
    painter.fillPath(bellPath(), Qt::white);
    painter.restore();

    using card::CardFont;
    painter.setPen(Qt::white);
    drawLine(painter, card.heading, fonts_.font(CardFont::Heading));

    painter.setPen(QPen(QColor(255, 255, 255, 220), 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = toQPoint(card.closeCentre);
    const qreal arm = card.closeArm;
    painter.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
    painter.drawLine(c + QPointF(-arm, arm), c + QPointF(arm, -arm));

    painter.setPen(kTitleColour);
    drawBlock(painter, card.title, fonts_.font(CardFont::Title));

    if (!card.timeLabel.text.empty()) {
        painter.setPen(kMutedColour);
        drawLine(painter, card.timeLabel, fonts_.font(CardFont::Text));
        painter.setPen(kAccent);
        drawLine(painter, card.time, fonts_.font(CardFont::Text));
    }

    painter.setPen(kTextColour);
    drawBlock(painter, card.body, fonts_.font(CardFont::Text));

    if (!card.footer.lines.empty()) {
        painter.fillRect(toQRect(card.rule), kRuleColour);
        painter.setPen(kAccent);
        drawBlock(painter, card.footer, fonts_.font(CardFont::Small));
    }

    QRect bar = toQRect(card.progress);
    barDrawn_ = countdown_.barWidth(bar.width());
    bar.setWidth(barDrawn_);
    painter.fillRect(bar, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 150));

    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kBorderColour, 1));
    painter.drawPath(outline);
    painter.setClipRect(header);
    painter.setPen(QPen(kHeaderBorderColour, 1));
    painter.drawPath(outline);
}

void PopupCard::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    press_.press(buttonOf(event), {at.x(), at.y()}, layout_);
}

void PopupCard::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    switch (press_.release(buttonOf(event), {at.x(), at.y()}, layout_, !content_.link.isEmpty())) {
        case card::CardClick::Nothing:
            return;
        case card::CardClick::OpenAndClose:
            QDesktopServices::openUrl(content_.link);
            break;
        case card::CardClick::Close:
            break;
    }
    close();
}

void PopupCard::enterEvent(QEnterEvent*) {
    countdown_.pointerEntered();
    followCountdown();
    updateBar();
}

void PopupCard::leaveEvent(QEvent*) {
    countdown_.pointerLeft();
    followCountdown();
}

void PopupCard::closeEvent(QCloseEvent* event) {
    expiry_.stop();
    progress_.stop();
    PopupStack::forget(this);
    event->accept();
}

}  // namespace talvane::displaymsg

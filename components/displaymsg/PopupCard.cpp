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

#include "components/displaymsg/CardAccessible.h"
#include "components/displaymsg/CardLook.h"
#include "components/displaymsg/PopupStack.h"

namespace talvane::displaymsg {

namespace {

constexpr int kGraceAfterHoverMs = look::kGraceAfterHoverMs;

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

void drawBlock(QPainter& painter, const TextBlock& block, const QFont& font) {
    const QFontMetrics metrics(font);
    painter.setFont(font);
    int y = block.topLeft.y();
    for (const QString& line : block.lines) {
        painter.drawText(block.topLeft.x(), y + metrics.ascent(), line);
        y += metrics.lineSpacing() + block.leading;
    }
}

}  // namespace

PopupCard::PopupCard(const AlertContent& content, int lifetimeMs, const QString& message)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      content_(content),
      message_(message),
      lifetimeMs_(lifetimeMs),
      remainingMs_(lifetimeMs) {
    if (existingCards++ == 0) InstallCardAccessibility();
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_X11NetWmWindowTypeNotification);
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(content_.title.isEmpty() ? content_.heading : content_.title);
    if (!content_.link.isEmpty()) setCursor(Qt::PointingHandCursor);

    countdown_.setSingleShot(true);
    connect(&countdown_, &QTimer::timeout, this, [this] { close(); });
    progress_.setInterval(100);
    connect(&progress_, &QTimer::timeout, this, [this] { update(); });

    layOut();
    restartCountdown();
}

PopupCard::~PopupCard() {
    PopupStack::forget(this);
    if (--existingCards == 0) RemoveCardAccessibility();
}

int PopupCard::existing() { return existingCards; }

void PopupCard::restartCountdown() {
    remainingMs_ = lifetimeMs_;
    running_.restart();
    if (!underMouse()) {
        countdown_.start(remainingMs_);
        progress_.start();
    }
    update();
}

double PopupCard::remainingFraction() const {
    const qint64 left = countdown_.isActive() ? remainingMs_ - running_.elapsed() : remainingMs_;
    return lifetimeMs_ <= 0 ? 0.0 : qBound(0.0, double(left) / lifetimeMs_, 1.0);
}

void PopupCard::layOut() {
    layout_ = layOutCard(content_, fonts_, kWidth);
    setFixedSize(layout_.size);

    // Without a compositor only a mask gives the card round corners; the
    // painting inside it smooths them.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), layout_.radius, layout_.radius);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void PopupCard::paintEvent(QPaintEvent*) {
    const CardLayout& card = layout_;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), card.radius, card.radius);
    // What the mask lets through outside the outline takes the border's colour.
    painter.fillRect(rect(), kBorderColour);
    painter.fillRect(card.header, kHeaderBorderColour);
    painter.fillPath(outline, Qt::white);
    painter.setClipPath(outline);

    QLinearGradient header(0, 0, width(), 0);
    header.setColorAt(0, kAccent);
    header.setColorAt(1, kAccentLight);
    painter.fillRect(card.header, header);

    painter.save();
    painter.translate(card.bellCentre);
    painter.fillPath(bellPath(), Qt::white);
    painter.restore();

    painter.setPen(Qt::white);
    painter.setFont(fonts_.heading);
    painter.drawText(card.headingBaseline, card.heading);

    painter.setPen(QPen(QColor(255, 255, 255, 220), 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = card.closeCentre;
    painter.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
    painter.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));

    painter.setPen(kTitleColour);
    drawBlock(painter, card.title, fonts_.title);

    if (!card.timeLabel.isEmpty()) {
        painter.setFont(fonts_.text);
        painter.setPen(kMutedColour);
        painter.drawText(card.timeLabelBaseline, card.timeLabel);
        painter.setPen(kAccent);
        painter.drawText(card.timeBaseline, card.time);
    }

    painter.setPen(kTextColour);
    drawBlock(painter, card.body, fonts_.text);

    if (!card.footer.lines.isEmpty()) {
        painter.fillRect(card.rule, kRuleColour);
        painter.setPen(kAccent);
        drawBlock(painter, card.footer, fonts_.small);
    }

    QRect bar = card.progress;
    bar.setWidth(qRound(bar.width() * remainingFraction()));
    painter.fillRect(bar, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 150));

    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kBorderColour, 1));
    painter.drawPath(outline);
    painter.setClipRect(card.header);
    painter.setPen(QPen(kHeaderBorderColour, 1));
    painter.drawPath(outline);
}

void PopupCard::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!rect().contains(at)) return;
    if (event->button() == Qt::LeftButton && !layout_.closeTarget.contains(at) &&
        !content_.link.isEmpty()) {
        QDesktopServices::openUrl(content_.link);
    }
    close();
}

void PopupCard::enterEvent(QEnterEvent*) {
    if (!countdown_.isActive()) return;
    remainingMs_ = qMax<qint64>(0, remainingMs_ - running_.elapsed());
    countdown_.stop();
    progress_.stop();
    update();
}

void PopupCard::leaveEvent(QEvent*) {
    if (countdown_.isActive()) return;
    remainingMs_ = qMax(remainingMs_, kGraceAfterHoverMs);
    running_.restart();
    countdown_.start(remainingMs_);
    progress_.start();
}

void PopupCard::closeEvent(QCloseEvent* event) {
    countdown_.stop();
    progress_.stop();
    PopupStack::forget(this);
    event->accept();
}

}  // namespace talvane::displaymsg

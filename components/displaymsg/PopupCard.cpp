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

#include "components/displaymsg/PopupStack.h"
#include "components/displaymsg/TextWrap.h"

namespace talvane::displaymsg {

namespace {

constexpr int kRadius = 10;
constexpr int kHeaderHeight = 36;
constexpr int kPadding = 16;
constexpr int kContentWidth = PopupCard::kWidth - 2 * kPadding;
constexpr int kProgressHeight = 3;
// The countdown never ends sooner than this after the mouse has left.
constexpr int kGraceAfterHoverMs = 2000;

const QColor kAccent(0x1d, 0x6b, 0xd6);
const QColor kAccentLight(0x3a, 0x8b, 0xf0);
const QColor kTitleColour(0x1f, 0x29, 0x37);
const QColor kTextColour(0x4b, 0x55, 0x63);
const QColor kMutedColour(0x8a, 0x94, 0xa3);
const QColor kRuleColour(0xe5, 0xe9, 0xf0);
const QColor kBorderColour(0xb8, 0xc4, 0xd6);
const QColor kHeaderBorderColour(0x17, 0x56, 0xb0);
constexpr int kBodyLeading = 3;

int existingCards = 0;

// The close mark sits in the header's top-right corner; its target is the
// corner itself, well beyond the drawn cross, so that a click meant to
// dismiss never opens the link by a near miss.
constexpr int kCloseTargetWidth = 40;
QPoint closeMarkCentre(int cardWidth) { return {cardWidth - kPadding - 4, kHeaderHeight / 2}; }
QRect closeMarkTarget(int cardWidth) {
    return {cardWidth - kCloseTargetWidth, 0, kCloseTargetWidth, kHeaderHeight};
}

QFont cardFont(int pixelSize, bool bold) {
    QFont font;
    // Latin in Liberation Sans, Chinese in the Simplified Chinese face (the
    // fallback would otherwise pick Japanese glyph forms).
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

struct Fonts {
    QFont heading = cardFont(13, true);
    QFont title = cardFont(16, true);
    QFont text = cardFont(13, false);
    QFont small = cardFont(12, false);
};

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

// Draws lines from the top of the first one; returns the y below the last.
int drawLines(QPainter& painter, const QStringList& lines, const QFont& font, int x, int y,
              int leading = 0) {
    const QFontMetrics metrics(font);
    painter.setFont(font);
    for (const QString& line : lines) {
        painter.drawText(x, y + metrics.ascent(), line);
        y += metrics.lineSpacing() + leading;
    }
    return y;
}

}  // namespace

PopupCard::PopupCard(const AlertContent& content, int lifetimeMs, const QString& message)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      content_(content),
      message_(message),
      lifetimeMs_(lifetimeMs),
      remainingMs_(lifetimeMs) {
    ++existingCards;
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
    --existingCards;
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
    const Fonts f;
    lines_.title = wrapText(content_.title, f.title, kContentWidth, 2);
    lines_.body = wrapText(content_.note, f.text, kContentWidth, 3);
    lines_.footer = content_.link.isEmpty() ? QString() : QStringLiteral("点击查看详情 ›");

    int height = kHeaderHeight + 14;
    height += lines_.title.size() * QFontMetrics(f.title).lineSpacing();
    if (!content_.time.isEmpty()) height += 6 + QFontMetrics(f.text).lineSpacing();
    if (!lines_.body.isEmpty())
        height += 6 + lines_.body.size() * QFontMetrics(f.text).lineSpacing();
    if (!lines_.footer.isEmpty()) height += 10 + 1 + 8 + QFontMetrics(f.small).lineSpacing();
    height += 14;
    setFixedSize(kWidth, height);

    // Without a compositor only a mask gives the card round corners; the
    // painting inside it smooths them.
    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()), kRadius, kRadius);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
}

void PopupCard::paintEvent(QPaintEvent*) {
    const Fonts f;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QPainterPath outline;
    outline.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), kRadius, kRadius);
    // What the mask lets through outside the outline takes the border's colour.
    painter.fillRect(rect(), kBorderColour);
    painter.fillRect(QRect(0, 0, width(), kHeaderHeight), kHeaderBorderColour);
    painter.fillPath(outline, Qt::white);
    painter.setClipPath(outline);

    QLinearGradient header(0, 0, width(), 0);
    header.setColorAt(0, kAccent);
    header.setColorAt(1, kAccentLight);
    painter.fillRect(QRect(0, 0, width(), kHeaderHeight), header);

    painter.save();
    painter.translate(kPadding + 7, kHeaderHeight / 2.0);
    painter.fillPath(bellPath(), Qt::white);
    painter.restore();

    painter.setPen(Qt::white);
    painter.setFont(f.heading);
    const QFontMetrics headingMetrics(f.heading);
    const int closeCentreX = closeMarkCentre(width()).x();
    const QString heading = headingMetrics.elidedText(content_.heading, Qt::ElideRight,
                                                      closeCentreX - 12 - (kPadding + 22));
    painter.drawText(kPadding + 22,
                     (kHeaderHeight - headingMetrics.height()) / 2 + headingMetrics.ascent(),
                     heading);

    painter.setPen(QPen(QColor(255, 255, 255, 220), 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF c(closeMarkCentre(width()));
    painter.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
    painter.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));

    int y = kHeaderHeight + 14;
    painter.setPen(kTitleColour);
    y = drawLines(painter, lines_.title, f.title, kPadding, y);

    if (!content_.time.isEmpty()) {
        y += 6;
        const QFontMetrics metrics(f.text);
        const QString label = QStringLiteral("时间：");
        painter.setFont(f.text);
        painter.setPen(kMutedColour);
        painter.drawText(kPadding, y + metrics.ascent(), label);
        const int valueX = kPadding + metrics.horizontalAdvance(label);
        painter.setPen(kAccent);
        painter.drawText(
            valueX, y + metrics.ascent(),
            metrics.elidedText(content_.time, Qt::ElideRight, kPadding + kContentWidth - valueX));
        y += metrics.lineSpacing();
    }

    if (!lines_.body.isEmpty()) {
        y += 6;
        painter.setPen(kTextColour);
        y = drawLines(painter, lines_.body, f.text, kPadding, y, kBodyLeading);
    }

    if (!lines_.footer.isEmpty()) {
        y += 10;
        painter.fillRect(QRect(kPadding, y, kContentWidth, 1), kRuleColour);
        y += 1 + 8;
        painter.setPen(kAccent);
        drawLines(painter, {lines_.footer}, f.small, kPadding, y);
    }

    const int barWidth = qRound(width() * remainingFraction());
    painter.fillRect(QRect(0, height() - kProgressHeight, barWidth, kProgressHeight),
                     QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 150));

    painter.setClipping(false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kBorderColour, 1));
    painter.drawPath(outline);
    painter.setClipRect(QRect(0, 0, width(), kHeaderHeight));
    painter.setPen(QPen(kHeaderBorderColour, 1));
    painter.drawPath(outline);
}

void PopupCard::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!rect().contains(at)) return;
    if (event->button() == Qt::LeftButton && !closeMarkTarget(width()).contains(at) &&
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

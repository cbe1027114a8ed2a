#include "app/qt/PanelView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>

#include <algorithm>
#include <string>
#include <vector>

#include "app/AccessibleElements.h"
#include "app/FormShape.h"
#include "app/PanelDesign.h"
#include "app/frmMain.h"
#include "app/qt/PanelAccessible.h"
#include "artwork/Artwork.h"
#include "input/Twips.h"
#include "platform/AppWindow.h"
#include "support/qt/FontTextMeasure.h"
#include "text/LineBreak.h"

namespace talvane {

namespace {

QColor colour(ColourRole role) {
    switch (role) {
        case ColourRole::ButtonText:
            return QColor::fromRgb(artwork::ButtonText);
        case ColourRole::WindowText:
            return QColor::fromRgb(artwork::WindowText);
        case ColourRole::WindowBackground:
            return QColor::fromRgb(artwork::WindowBackground);
        case ColourRole::White:
            return Qt::white;
        case ColourRole::Black:
            return Qt::black;
    }
    return Qt::black;
}

QFont fontFor(FontRole role) {
    switch (role) {
        case FontRole::Arial9:
            return QFont(QStringLiteral("Arial"), 9);
        case FontRole::Arial9Bold:
            return QFont(QStringLiteral("Arial"), 9, QFont::Bold);
        case FontRole::Default:
            break;
    }
    // The desktop's own face, but small enough that the longest fixed line
    // ("时　间：" + a date + "   进入会议重现") fits the 201-pixel label on
    // one line instead of wrapping into a half-cut second line.
    static const QFont uiFont = [] {
        QFont ui = QApplication::font();
        ui.setFamilies({ui.family(), QStringLiteral("Noto Sans CJK SC")});
        ui.setPointSizeF(8.5);
        return ui;
    }();
    return uiFont;
}

int vbButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

int vbShift(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

int vbButtons(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

}  // namespace

PanelView::PanelView() {
    setWindowTitle(QString::fromStdU16String(kFormCaption));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    InstallPanelAccessibility();
}

void PanelView::attach(frmMain& form, const AppWindow& window) {
    form_ = &form;
    window_ = &window;
    // Only the rounded region is ever seen, so the window is no larger.
    const ScreenMetrics screen = window.screen();
    const RoundRectRegion region = TransparencyRegion(screen.twipsPerPixelX, screen.twipsPerPixelY);
    setFixedSize(region.right, region.bottom);
}

void PanelView::preparePictures() {
    const qreal dpr = devicePixelRatioF();
    if (dpr == picturesDpr_) {
        return;
    }
    picturesDpr_ = dpr;
    background_ = artwork::background(dpr);
    pictures_[static_cast<int>(Picture::ArrowRed)] = artwork::arrow(false, dpr);
    pictures_[static_cast<int>(Picture::ArrowBlue)] = artwork::arrow(true, dpr);
    pictures_[static_cast<int>(Picture::NewBadge)] = artwork::newBadge(dpr);
    pictures_[static_cast<int>(Picture::BalloonTipTop)] = artwork::balloon(false, dpr);
    pictures_[static_cast<int>(Picture::BalloonTipBottom)] = artwork::balloon(true, dpr);
    pictures_[static_cast<int>(Picture::RowHighlight)] = artwork::rowHighlight(dpr);
}

const QPixmap& PanelView::picture(Picture which) const {
    return pictures_[static_cast<int>(which)];
}

QPointF PanelView::toTwips(QPointF pixels) const {
    const ScreenMetrics screen = window_->screen();
    return {ToTwips(static_cast<float>(pixels.x()), screen.twipsPerPixelX),
            ToTwips(static_cast<float>(pixels.y()), screen.twipsPerPixelY)};
}

QRectF PanelView::toPixels(const TwipRect& rect) const {
    const ScreenMetrics screen = window_->screen();
    const float tx = screen.twipsPerPixelX;
    const float ty = screen.twipsPerPixelY;
    return {ToPixels(rect.left, tx), ToPixels(rect.top, ty), ToPixels(rect.width, tx),
            ToPixels(rect.height, ty)};
}

void PanelView::paintEvent(QPaintEvent* event) {
    ++paintCount_;
    QPainter painter(this);
    painter.fillRect(event->rect(), QColor::fromRgb(artwork::PanelBackdrop));
    if (form_ == nullptr) {
        return;
    }
    preparePictures();
    painter.drawPixmap(0, 0, background_);
    const QRect dirty = event->rect();
    const ScreenMetrics screen = window_->screen();
    const PixelBox box{dirty.left(), dirty.top(), dirty.right() + 1, dirty.bottom() + 1};
    const TwipRect area = TwipsOfPixels(box, screen.twipsPerPixelX, screen.twipsPerPixelY);
    for (const Element* element : form_->model().paintOrder(area)) {
        drawElement(painter, *element);
    }
    drawFocus(painter);
}

void PanelView::drawFocus(QPainter& painter) const {
    if (focusedRow_ < 0) {
        return;
    }
    const QRectF title = toPixels(form_->model().at(ElementName::lblList, focusedRow_).rect);
    painter.setPen(QPen(QColor::fromRgb(artwork::ButtonText), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(title.adjusted(-1.5, -0.5, 0.5, -0.5));
}

const PanelModel* PanelView::model() const { return form_ != nullptr ? &form_->model() : nullptr; }

QRect PanelView::elementScreenRect(ElementId id) const {
    if (form_ == nullptr) {
        return {};
    }
    const QRect local = toPixels(form_->model().at(id.name, id.index).rect).toAlignedRect();
    return {mapToGlobal(local.topLeft()), local.size()};
}

void PanelView::activateElement(ElementId id) {
    if (form_ != nullptr) {
        form_->elementClick(id);
    }
}

bool PanelView::focusNextPrevChild(bool next) {
    if (form_ == nullptr) {
        return false;
    }
    const std::vector<int> rows = FocusableRows(form_->model());
    if (rows.empty()) {
        return true;  // nothing to go to, but Tab stays in the panel
    }
    int to = next ? rows.front() : rows.back();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == focusedRow_) {
            const std::size_t n = rows.size();
            to = rows[next ? (i + 1) % n : (i + n - 1) % n];
        }
    }
    // The dotted frame reaches a pixel beyond the title on every side.
    const auto frameOf = [this](int row) {
        return toPixels(form_->model().at(ElementName::lblList, row).rect)
            .toAlignedRect()
            .adjusted(-2, -1, 1, 1);
    };
    if (focusedRow_ >= 0) {
        update(frameOf(focusedRow_));
    }
    focusedRow_ = to;
    update(frameOf(to));
    NotifyPanelFocusMoved(*this);
    return true;
}

void PanelView::keyPressEvent(QKeyEvent* event) {
    if (form_ == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (focusedRow_ >= 0) {
                form_->elementClick({ElementName::lblList, static_cast<std::int16_t>(focusedRow_)});
            }
            break;
        case Qt::Key_Escape:
            form_->imgClose_Click();
            break;
        default:
            QWidget::keyPressEvent(event);
            break;
    }
}

void PanelView::drawElement(QPainter& painter, const Element& element) const {
    const QRectF box = toPixels(element.rect);
    if (element.kind == ElementKind::Image) {
        if (element.picture != Picture::None) {
            painter.drawPixmap(box.topLeft(), picture(element.picture));
        }
        return;
    }
    painter.save();
    painter.setClipRect(box);
    if (element.opaque) {
        painter.fillRect(box, colour(element.backColour));
    }
    if (!element.caption.empty()) {
        const QFont font = fontFor(element.font);
        const QFontMetrics metrics(font);
        painter.setFont(font);
        painter.setPen(colour(element.textColour));
        // The lines that reach into the box; the clip cuts the last one.
        const int lineCount = qCeil(box.height() / metrics.lineSpacing());
        const std::vector<std::u16string> lines =
            text::breakLines(element.caption, FontTextMeasure(font), qFloor(box.width()),
                             std::size_t(std::max(0, lineCount)), text::Overflow::Cut);
        QPointF at(box.left(), box.top() + metrics.ascent());
        for (const std::u16string& line : lines) {
            painter.drawText(at, QString::fromStdU16String(line));
            at.ry() += metrics.lineSpacing();
        }
    }
    painter.restore();
}

void PanelView::updatePointer(QPointF twips) {
    const PointerShape shape =
        form_->pointerShapeAt(static_cast<float>(twips.x()), static_cast<float>(twips.y()));
    if (pointer_ == shape) {
        return;
    }
    pointer_ = shape;
    if (shape == PointerShape::Hand) {
        const qreal dpr = devicePixelRatioF();
        if (!handCursor_ || handCursorDpr_ != dpr) {
            handCursor_ = artwork::handCursor(dpr);
            handCursorDpr_ = dpr;
        }
        setCursor(*handCursor_);
    } else {
        unsetCursor();
    }
}

void PanelView::mouseMoveEvent(QMouseEvent* event) {
    if (form_ == nullptr) {
        return;
    }
    const QPointF twips = toTwips(event->position());
    form_->pointerMove(static_cast<float>(twips.x()), static_cast<float>(twips.y()),
                       vbButtons(event->buttons()), vbShift(event->modifiers()));
    updatePointer(twips);
}

void PanelView::mousePressEvent(QMouseEvent* event) {
    if (form_ == nullptr) {
        return;
    }
    // Qt grabs the pointer for the press by itself: moves and the release
    // arrive wherever they happen.
    const QPointF twips = toTwips(event->position());
    form_->pointerDown(static_cast<float>(twips.x()), static_cast<float>(twips.y()),
                       vbButton(event->button()), vbShift(event->modifiers()));
}

void PanelView::mouseReleaseEvent(QMouseEvent* event) {
    if (form_ == nullptr) {
        return;
    }
    const QPointF twips = toTwips(event->position());
    form_->pointerUp(static_cast<float>(twips.x()), static_cast<float>(twips.y()),
                     vbButton(event->button()));
}

void PanelView::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt delivers the second press of a double click as a press and then
    // this event (the default handler would press a third time).
    if (form_ != nullptr) {
        form_->pointerDoubleClick(vbButton(event->button()));
    }
}

void PanelView::closeEvent(QCloseEvent* event) {
    // A close request from the system ends the program like Exit does.
    event->accept();
    if (form_ != nullptr) {
        form_->frmClose_Click();
    } else {
        QCoreApplication::quit();
    }
}

}  // namespace talvane

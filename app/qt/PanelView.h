#pragma once

#include <QCursor>
#include <QPixmap>
#include <QPoint>
#include <QWidget>
#include <array>
#include <optional>

#include "app/Element.h"

namespace talvane {

class frmMain;
class PanelModel;
class AppWindow;

// The Qt face of the panel: draws frmMain's element model and forwards
// pointer input to it in twips. Holds no state of the panel itself.
class PanelView : public QWidget {
    Q_OBJECT
  public:
    PanelView();

    // The form and the window services must outlive the view's use of them.
    void attach(frmMain& form, const AppWindow& window);

    // Repaints counted since the start; the benchmark reads it.
    int paintCount() const { return paintCount_; }

    // For the accessibility objects: the model drawn (null before attach),
    // an element's place on the screen, its click, and the row whose title
    // has the keyboard focus (-1: none).
    const PanelModel* model() const;
    QRect elementScreenRect(ElementId id) const;
    void activateElement(ElementId id);
    int focusedRow() const { return focusedRow_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Tab and Shift+Tab go from title to title; Enter opens the focused
    // row, Escape puts the panel away as the close glyph does.
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void preparePictures();
    const QPixmap& picture(Picture picture) const;
    void drawElement(QPainter& painter, const Element& element) const;
    QPointF toTwips(QPointF pixels) const;
    QRectF toPixels(const TwipRect& rect) const;
    void updatePointer(QPointF twips);
    void drawFocus(QPainter& painter) const;

    frmMain* form_ = nullptr;
    const AppWindow* window_ = nullptr;
    qreal picturesDpr_ = 0;
    QPixmap background_;
    std::array<QPixmap, 7> pictures_;  // indexed by Picture
    std::optional<PointerShape> pointer_;
    // Drawn once per pixel ratio: a new cursor picture on every entry would
    // cost a drawing and a new X cursor each time (hundreds of microseconds).
    std::optional<QCursor> handCursor_;
    qreal handCursorDpr_ = 0;
    int paintCount_ = 0;
    int focusedRow_ = -1;
};

}  // namespace talvane

#pragma once

#include <QMouseEvent>

#include <chrono>

#include "app/qt/PanelView.h"

namespace talvane::bench {

// The real panel view, with a steady clock around its pointer-move handler:
// pixel-to-twip conversion, the form's hit-test, hover handlers and damage,
// and the pointer shape.
class TimedPanelView : public PanelView {
  public:
    std::chrono::nanoseconds lastMove{0};

  protected:
    void mouseMoveEvent(QMouseEvent* event) override {
        const auto start = std::chrono::steady_clock::now();
        PanelView::mouseMoveEvent(event);
        lastMove = std::chrono::steady_clock::now() - start;
    }
};

}  // namespace talvane::bench

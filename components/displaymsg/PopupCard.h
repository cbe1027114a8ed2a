#pragma once

#include <QTimer>
#include <QWidget>

#include "card/CardCountdown.h"
#include "card/CardLayout.h"
#include "card/CardLook.h"
#include "card/CardPress.h"
#include "components/displaymsg/AlertContent.h"
#include "components/displaymsg/CardFonts.h"

namespace talvane::displaymsg {

// One reminder on screen: a rounded card that never takes the focus, closes
// itself when its time is up (the countdown pauses under the mouse) and on
// a click, which first opens the reminder's link when it has one, unless it
// hit the close mark in the top-right corner. Deletes itself once closed.
class PopupCard : public QWidget {
  public:
    static constexpr int kWidth = card::look::kWidth;

    PopupCard(const AlertContent& content, int lifetimeMs, const QString& message);
    ~PopupCard() override;

    // The message it shows; a repeat of it restarts this card's countdown.
    const QString& message() const { return message_; }
    void restartCountdown();

    // Cards constructed and not yet destroyed, closed ones included: the
    // library must stay loaded while any exists.
    static int existing();

    // What the card shows and where, for its accessibility objects.
    const AlertContent& content() const { return content_; }
    const card::CardLayout& layout() const { return layout_; }
    const CardFonts& fonts() const { return fonts_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void layOut();
    // Arms the timers for the countdown's state.
    void followCountdown();
    // Repaints the part of the progress bar that changed since it was drawn.
    void updateBar();

    AlertContent content_;
    QString message_;
    CardFonts fonts_;
    card::CardLayout layout_;
    card::CardCountdown countdown_;
    card::CardPress press_;
    int barDrawn_ = 0;
    // Members, not QTimer::singleShot: a pending single-shot would call into
    // this library after it might have been unloaded.
    QTimer expiry_;
    QTimer progress_;
};

}  // namespace talvane::displaymsg

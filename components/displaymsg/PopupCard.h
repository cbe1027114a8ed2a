#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include "components/displaymsg/AlertContent.h"
#include "components/displaymsg/CardLayout.h"
#include "components/displaymsg/CardLook.h"

namespace talvane::displaymsg {

// One reminder on screen: a rounded card that never takes the focus, closes
// itself when its time is up (the countdown pauses under the mouse) and on
// a click, which first opens the reminder's link when it has one, unless it
// hit the close mark in the top-right corner. Deletes itself once closed.
class PopupCard : public QWidget {
  public:
    static constexpr int kWidth = look::kWidth;

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
    const CardLayout& layout() const { return layout_; }
    const CardFonts& fonts() const { return fonts_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void layOut();
    double remainingFraction() const;

    AlertContent content_;
    QString message_;
    CardFonts fonts_;
    CardLayout layout_;
    int lifetimeMs_;
    int remainingMs_;
    QElapsedTimer running_;
    // Members, not QTimer::singleShot: a pending single-shot would call into
    // this library after it might have been unloaded.
    QTimer countdown_;
    QTimer progress_;
};

}  // namespace talvane::displaymsg

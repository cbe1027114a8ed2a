#pragma once

#include <cstdint>
#include <functional>

namespace talvane::card {

// A card's time on screen. It runs from the card's appearance, stands still
// while the pointer is on the card, and when the pointer leaves it runs on
// with at least the grace left, so that a reader who moves away is not cut
// short. Time comes from the clock given, in milliseconds of a monotonic
// clock; a face arms its own timer from msUntilExpiry().
class CardCountdown {
  public:
    using Clock = std::function<std::int64_t()>;

    CardCountdown(int lifetimeMs, Clock clock);

    // The whole lifetime again (a repeat of the card's message); it stays
    // paused while the pointer is on the card.
    void restart();
    void pointerEntered();
    void pointerLeft();

    bool running() const { return running_; }
    bool expired() const { return running_ && msUntilExpiry() == 0; }
    // While running: how long until the card closes; the lifetime left
    // otherwise.
    int msUntilExpiry() const;
    // How much of the progress bar's full width the time left fills.
    int barWidth(int fullWidth) const;

  private:
    int lifetimeMs_;
    Clock clock_;
    int remainingMs_;
    std::int64_t runningSince_ = 0;
    bool running_ = false;
    bool pointerOn_ = false;
};

}  // namespace talvane::card

#include "card/CardCountdown.h"

#include <algorithm>
#include <utility>

#include "card/CardLook.h"

namespace talvane::card {

CardCountdown::CardCountdown(int lifetimeMs, Clock clock)
    : lifetimeMs_(std::max(0, lifetimeMs)), clock_(std::move(clock)), remainingMs_(lifetimeMs_) {
    restart();
}

void CardCountdown::restart() {
    remainingMs_ = lifetimeMs_;
    runningSince_ = clock_();
    running_ = !pointerOn_;
}

void CardCountdown::pointerEntered() {
    if (pointerOn_) return;
    pointerOn_ = true;
    remainingMs_ = msUntilExpiry();
    running_ = false;
}

void CardCountdown::pointerLeft() {
    if (!pointerOn_) return;
    pointerOn_ = false;
    remainingMs_ = std::max(remainingMs_, look::kGraceAfterHoverMs);
    runningSince_ = clock_();
    running_ = true;
}

int CardCountdown::msUntilExpiry() const {
    if (!running_) return remainingMs_;
    const std::int64_t spent = std::max<std::int64_t>(0, clock_() - runningSince_);
    return spent >= remainingMs_ ? 0 : int(remainingMs_ - spent);
}

int CardCountdown::barWidth(int fullWidth) const {
    if (lifetimeMs_ <= 0) return 0;
    const std::int64_t left = std::min(msUntilExpiry(), lifetimeMs_);
    return int((left * fullWidth + lifetimeMs_ / 2) / lifetimeMs_);
}

}  // namespace talvane::card

#include "input/PressCapture.h"

namespace talvane {

void PressCapture::press(int button, PressKind kind, TwipPoint at) {
    held_ = Held{button, kind, at};
}

std::optional<TwipPoint> PressCapture::release(int button) {
    if (!held_ || held_->button != button) {
        return std::nullopt;
    }
    const Held pressed = *held_;
    held_.reset();
    if (pressed.kind == PressKind::SecondOfDouble) {
        return std::nullopt;
    }
    return pressed.at;
}

void PressCapture::markSecondOfDouble(int button) {
    if (held_ && held_->button == button) {
        held_->kind = PressKind::SecondOfDouble;
    }
}

}  // namespace talvane

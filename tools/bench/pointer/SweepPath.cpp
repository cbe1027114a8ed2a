#include "tools/bench/pointer/SweepPath.h"

#include <algorithm>
#include <cmath>

namespace talvane::bench {

namespace {

using N = ElementName;

class PathBuilder {
  public:
    PathBuilder(int width, int height, double step)
        : maxX_(width - 1), maxY_(height - 1), step_(step) {}

    // Straight line from the current end (or from `from` when the path is
    // empty) to `to`, in equal steps no longer than step_.
    void lineTo(PixelPoint to) {
        to = clamp(to);
        if (points_.empty()) {
            points_.push_back(to);
            return;
        }
        const PixelPoint from = points_.back();
        const double length = std::hypot(to.x - from.x, to.y - from.y);
        const int steps = std::max(1, static_cast<int>(std::ceil(length / step_)));
        for (int i = 1; i <= steps; ++i) {
            const double t = static_cast<double>(i) / steps;
            points_.push_back({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
        }
    }

    std::vector<PixelPoint> take() { return std::move(points_); }

  private:
    PixelPoint clamp(PixelPoint p) const {
        return {std::clamp(p.x, 0.0, static_cast<double>(maxX_)),
                std::clamp(p.y, 0.0, static_cast<double>(maxY_))};
    }

    int maxX_;
    int maxY_;
    double step_;
    std::vector<PixelPoint> points_;
};

double centreY(const TwipRect& r, double ty) { return (r.top + r.height / 2) / ty; }

}  // namespace

std::vector<PixelPoint> PanelSweep(const PanelModel& model, double tx, double ty, int width,
                                   int height, double step) {
    PathBuilder path(width, height, step);
    const double bottom = height - 1;
    const TwipRect title0 = model.at(N::lblList, 0).rect;
    const TwipRect hover0 = model.at(N::ImgNULL, 0).rect;
    const double marginX = 2;
    const double titleX = (title0.left + std::min(title0.width, 1500.0f) / 2) / tx;
    const double hoverRightX = (hover0.right() - 60) / tx;

    path.lineTo({marginX, 0});
    path.lineTo({marginX, bottom});
    path.lineTo({titleX, bottom});
    path.lineTo({titleX, 0});
    path.lineTo({hoverRightX, 0});
    path.lineTo({hoverRightX, bottom});

    for (int i = 0; i < kPanelRows; ++i) {
        const double titleY = centreY(model.at(N::lblList, i).rect, ty);
        const double statusY = centreY(model.at(N::lblReg, i).rect, ty);
        path.lineTo({0, titleY});
        path.lineTo({static_cast<double>(width - 1), titleY});
        path.lineTo({static_cast<double>(width - 1), statusY});
        path.lineTo({0, statusY});
    }
    return path.take();
}

std::vector<std::uint8_t> HoverSnapshot(const PanelModel& model) {
    std::vector<std::uint8_t> snapshot;
    snapshot.reserve(model.elements().size() * 2);
    for (const Element& e : model.elements()) {
        snapshot.push_back(e.visible ? 1 : 0);
        snapshot.push_back(static_cast<std::uint8_t>(e.picture));
    }
    return snapshot;
}

}  // namespace talvane::bench

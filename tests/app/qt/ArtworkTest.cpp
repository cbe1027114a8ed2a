#include "artwork/Artwork.h"

#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace talvane::artwork {
namespace {

constexpr qreal Densities[] = {1.0, 2.0};

// Reads a picture by logical pixel: the device pixel at the logical pixel's
// centre.
class Probe {
  public:
    explicit Probe(const QPixmap& pixmap)
        : image_(pixmap.toImage().convertToFormat(QImage::Format_ARGB32)),
          dpr_(pixmap.devicePixelRatio()) {}

    QColor at(int x, int y) const {
        return image_.pixelColor(static_cast<int>((x + 0.5) * dpr_),
                                 static_cast<int>((y + 0.5) * dpr_));
    }
    int alpha(int x, int y) const { return at(x, y).alpha(); }
    // A whole device pixel, for details one device pixel wide.
    QColor device(int x, int y) const { return image_.pixelColor(x, y); }
    int deviceWidth() const { return image_.width(); }

    // Calls check on every logical pixel of the rectangle; stops at the first
    // failure so a broken picture reports one line, not thousands.
    void forEach(const QRect& r, const std::function<bool(QColor, int, int)>& check) const {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                if (!check(at(x, y), x, y)) {
                    ADD_FAILURE() << "at (" << x << ", " << y << ") with dpr " << dpr_;
                    return;
                }
            }
        }
    }

  private:
    QImage image_;
    qreal dpr_;
};

double luminance(QColor c) {
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(QColor a, QColor b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Normal text on a background needs a contrast ratio of 4.5; row text gets a
// wider margin because it is small.
constexpr double LegibleContrast = 4.5;
constexpr double RowTextContrast = 7.0;

TEST(Artwork, Pictures_HaveTheirLogicalSizeAndDensity_AtEveryDensity) {
    for (qreal dpr : {1.0, 1.5, 2.0}) {
        const std::vector<std::pair<QPixmap, QSize>> pictures = {
            {background(dpr), BackgroundSize},     {arrow(false, dpr), ArrowSize},
            {arrow(true, dpr), ArrowSize},         {newBadge(dpr), NewBadgeSize},
            {balloon(false, dpr), BalloonSize},    {balloon(true, dpr), BalloonSize},
            {rowHighlight(dpr), RowHighlightSize}, {handCursor(dpr).pixmap(), HandCursorSize},
        };
        for (const auto& [pixmap, logical] : pictures) {
            EXPECT_EQ(pixmap.devicePixelRatio(), dpr);
            EXPECT_EQ(pixmap.size(), QSize(static_cast<int>(std::ceil(logical.width() * dpr)),
                                           static_cast<int>(std::ceil(logical.height() * dpr))));
        }
    }
}

TEST(Artwork, Background_IsClearOnlyOutsideItsRoundedCorners) {
    for (qreal dpr : Densities) {
        const Probe bg(background(dpr));
        EXPECT_EQ(bg.alpha(0, 0), 0);
        EXPECT_EQ(bg.alpha(249, 0), 0);
        EXPECT_EQ(bg.alpha(0, 659), 0);
        EXPECT_EQ(bg.alpha(249, 659), 0);
        // Outside the four 6 x 6 corner squares nothing may show through.
        const auto opaque = [](QColor c, int, int) { return c.alpha() == 255; };
        bg.forEach(QRect(6, 0, 238, 660), opaque);
        bg.forEach(QRect(0, 6, 250, 648), opaque);
    }
}

TEST(Artwork, Background_KeepsRowTextAndFooterTextLegible) {
    const QColor rowText = QColor::fromRgb(ButtonText);
    const QColor footerText = QColor::fromRgb(FooterText);
    for (qreal dpr : Densities) {
        const Probe bg(background(dpr));
        for (int row = 0; row < 5; ++row) {
            const int band = 120 + 100 * row;
            // Title, status and time lines, x 32..233 from 20 px into the band.
            bg.forEach(QRect(32, band + 20, 202, 80),
                       [&](QColor c, int, int) { return contrast(c, rowText) >= RowTextContrast; });
        }
        // The footer labels: white bold text at x 13, y 632..649.
        bg.forEach(QRect(13, 632, 233, 18),
                   [&](QColor c, int, int) { return contrast(c, footerText) >= LegibleContrast; });
    }
}

TEST(Artwork, Balloon_IsSolidWindowBackgroundUnderItsLabels_AndClearOutside) {
    const QColor window = QColor::fromRgb(WindowBackground);
    for (qreal dpr : Densities) {
        for (bool tipAtBottom : {false, true}) {
            SCOPED_TRACE(tipAtBottom ? "tip at bottom" : "tip at top");
            const Probe b(balloon(tipAtBottom, dpr));
            // Heading and body labels, with a pixel of slack for rounding.
            const auto solid = [&](QColor c, int, int) { return c == window; };
            b.forEach(QRect(13, 17, 115, 19), solid);
            b.forEach(QRect(13, 41, 219, 107), solid);

            EXPECT_EQ(b.alpha(0, 0), 0);
            EXPECT_EQ(b.alpha(239, 0), 0);
            EXPECT_EQ(b.alpha(0, 159), 0);
            EXPECT_EQ(b.alpha(239, 159), 0);
            // The tip reaches into the outer rows only near the left.
            const int tipRow = tipAtBottom ? 157 : 1;
            EXPECT_GT(b.alpha(24, tipRow), 200);
            EXPECT_LT(b.alpha(120, tipRow), 32);
            EXPECT_GT(b.alpha(120, tipAtBottom ? 2 : 157), 0)
                << "the body reaches the opposite edge, where only its shadow may be";
        }
    }
}

TEST(Artwork, RowHighlight_IsOpaqueAndLight_AndContinuesThePanelEdge) {
    const QColor rowText = QColor::fromRgb(ButtonText);
    for (qreal dpr : Densities) {
        const Probe hl(rowHighlight(dpr));
        const Probe bg(background(dpr));
        hl.forEach(QRect(0, 0, 250, 100), [](QColor c, int, int) { return c.alpha() == 255; });
        hl.forEach(QRect(32, 20, 202, 80),
                   [&](QColor c, int, int) { return contrast(c, rowText) >= RowTextContrast; });
        // Shown over row 0 (y 120..220), its outermost device columns must
        // look like the panel's own edge there.
        for (int y : {10, 50, 90}) {
            const int hy = static_cast<int>(y * dpr);
            const int by = static_cast<int>((120 + y) * dpr);
            EXPECT_EQ(hl.device(0, hy), bg.device(0, by)) << "dpr " << dpr;
            EXPECT_EQ(hl.device(hl.deviceWidth() - 1, hy), bg.device(bg.deviceWidth() - 1, by))
                << "dpr " << dpr;
        }
    }
}

TEST(Artwork, ArrowAndBadge_UseRedAtRestBlueWhenHighlighted_AndLightLettering) {
    for (qreal dpr : Densities) {
        const Probe red(arrow(false, dpr));
        const Probe blue(arrow(true, dpr));
        // (8, 3) is on the disc above the chevron.
        EXPECT_GT(red.at(8, 3).red(), red.at(8, 3).blue() + 80);
        EXPECT_GT(blue.at(8, 3).blue(), blue.at(8, 3).red() + 80);
        EXPECT_EQ(red.alpha(0, 0), 0);
        EXPECT_EQ(blue.alpha(15, 15), 0);

        const Probe badge(newBadge(dpr));
        int lettering = 0;
        badge.forEach(QRect(0, 0, 23, 11), [&](QColor c, int, int) {
            if (c.alpha() == 255 && luminance(c) > 0.6) ++lettering;
            return true;
        });
        EXPECT_GE(lettering, 25) << "NEW needs at least its stems";
        EXPECT_GT(badge.at(1, 5).red(), badge.at(1, 5).blue() + 80);
    }
}

TEST(Artwork, AppIcon_OffersEveryTrayAndWindowSize) {
    const QIcon icon = appIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int s : {16, 22, 32, 48, 64}) {
        EXPECT_TRUE(sizes.contains(QSize(s, s))) << s;
        const QImage image = icon.pixmap(s, s).toImage();
        EXPECT_EQ(image.pixelColor(s / 2, s / 2).alpha(), 255) << s;
    }
}

TEST(Artwork, HandCursor_PointsWithTheFingertipAtItsHotSpot) {
    for (qreal dpr : Densities) {
        const QCursor cursor = handCursor(dpr);
        EXPECT_EQ(cursor.hotSpot(), HandCursorHotSpot);
        const Probe hand(cursor.pixmap());
        // Nothing above the tip, a black outline at it, a white finger below.
        hand.forEach(QRect(0, 0, 32, 1), [](QColor c, int, int) { return c.alpha() < 64; });
        EXPECT_GT(hand.alpha(12, 1), 200) << "dpr " << dpr;
        EXPECT_LT(luminance(hand.at(12, 1)), 0.1);
        EXPECT_GT(luminance(hand.at(12, 5)), 0.9);
        EXPECT_EQ(hand.alpha(12, 5), 255);
    }
}

}  // namespace
}  // namespace talvane::artwork

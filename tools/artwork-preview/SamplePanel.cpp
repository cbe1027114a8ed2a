#include "tools/artwork-preview/SamplePanel.h"

#include <QFont>
#include <QPainter>
#include <QRegion>
#include <QString>

#include <array>
#include <cmath>

#include "artwork/Artwork.h"

namespace talvane::preview {
namespace {

using namespace Qt::Literals::StringLiterals;

struct SampleRow {
    QString title;
    QString status;
    QString time;
    bool isNew;
    QString detail;
};

const std::array<SampleRow, 5>& sampleRows() {
    static const std::array<SampleRow, 5> rows{{
        {u"云计算时代的数据安全实践与合规要点解析"_s, u"已报名：1286人"_s,
         u"时　间：2026-12-15(14:30-16:00)"_s, true,
         u"主讲：陈立新，资深安全架构师。\n从数据分级、加密与访问审计三个方面，"
         u"结合真实案例讲解企业上云后的数据安全建设路径。"_s},
        {u"企业存储架构优化：从规划到落地"_s, u"已报名：864人"_s,
         u"时　间：2026-12-17(10:00-11:30)"_s, true,
         u"主讲：刘静，存储解决方案专家。\n介绍分层存储、容量规划与性能监控的实用方法，"
         u"并现场解答听众提问。"_s},
        {u"DevOps 持续交付流水线实战分享"_s, u"已报名：2031人"_s,
         u"时　间：2026-12-21(15:00-16:30)"_s, true,
         u"主讲：赵明，研发效能负责人。\n从代码提交到生产发布，演示一条完整的自动化交付流水线。"_s},
        {u"新一代网络安全态势感知技术解析"_s, u"状　态：已结束"_s,
         u"时　间：2026-11-28   进入会议重现"_s, false,
         u"主讲：孙海，网络安全研究员。\n回放已上线，可随时点播观看。"_s},
        {u"虚拟化平台性能调优十大技巧"_s, u"状　态：已结束"_s,
         u"时　间：2026-11-20   进入会议重现"_s, false,
         u"主讲：周晓，虚拟化技术顾问。\n总结生产环境中最常见的性能瓶颈及其排查思路。"_s},
    }};
    return rows;
}

// Window elements are placed in twips; the view rounds them to pixels.
int px(int twips) { return static_cast<int>(std::lround(twips / 15.0)); }
QRect twipRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

QFont arial9(bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(bold);
    return font;
}

// The window's visible region: 251 x 661 with hard-edged corners cut along
// 12 x 12 ellipses, one pixel wider and taller than the background picture.
QRegion windowRegion() {
    constexpr int W = 251, H = 661, E = 12;
    QRegion region(E / 2, 0, W - E, H);
    region += QRegion(0, E / 2, W, H - E);
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(W - E, 0), QPoint(0, H - E), QPoint(W - E, H - E)}) {
        region += QRegion(QRect(corner, QSize(E, E)), QRegion::Ellipse);
    }
    return region;
}

void drawLabel(QPainter& p, const QRect& r, const QString& text, const QFont& font, QRgb ink,
               bool opaque) {
    p.save();
    p.setClipRect(r);
    if (opaque) p.fillRect(r, QColor::fromRgb(artwork::WindowBackground));
    p.setFont(font);
    p.setPen(QColor::fromRgb(ink));
    p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    p.restore();
}

}  // namespace

QPixmap composeSamplePanel(const SampleState& state, qreal dpr) {
    const QPixmap background = artwork::background(dpr);
    const QPixmap highlight = artwork::rowHighlight(dpr);
    const QPixmap redArrow = artwork::arrow(false, dpr);
    const QPixmap blueArrow = artwork::arrow(true, dpr);
    const QPixmap badge = artwork::newBadge(dpr);

    QPixmap panel(QSize(251, 661) * dpr);
    panel.setDevicePixelRatio(dpr);
    panel.fill(Qt::transparent);
    QPainter p(&panel);
    p.setClipRegion(windowRegion());
    p.fillRect(panel.rect(), QColor::fromRgb(artwork::PanelBackdrop));
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    p.drawPixmap(0, 0, background);

    for (int i = 0; i < 5; ++i) {
        const int band = 1500 * i;
        const SampleRow& row = sampleRows()[static_cast<std::size_t>(i)];
        if (i == state.hoveredRow)
            p.drawPixmap(twipRect(0, 1800 + band, 3750, 1500).topLeft(), highlight);
        p.drawPixmap(twipRect(130, 2100 + band, 240, 240).topLeft(),
                     i == state.hoveredRow ? blueArrow : redArrow);
        if (state.emptyList) continue;
        drawLabel(p, twipRect(480, 2680 + band, 2865, 375), row.status, arial9(false),
                  artwork::ButtonText, false);
        drawLabel(p, twipRect(480, 3000 + band, 3015, 375), row.time, arial9(false),
                  artwork::ButtonText, false);
        drawLabel(p, twipRect(480, 2100 + band, 3015, 495), row.title, arial9(false),
                  artwork::ButtonText, false);
        if (row.isNew) p.drawPixmap(twipRect(3000, 2400 + band, 345, 165).topLeft(), badge);
    }

    const QString footer = state.emptyList ? u"更多研讨会资料(999场),随时点播..."_s
                                           : u"更多研讨会资料(1286场)，随时点播..."_s;
    drawLabel(p, twipRect(200, 9510, 3495, 255), footer, arial9(true), artwork::FooterShadow,
              false);
    drawLabel(p, twipRect(200, 9490, 3495, 255), footer, arial9(true), artwork::FooterText, false);

    const int k = state.balloonRow;
    if (k >= 0 && k < 5) {
        const bool above = k == 4;
        const int left = above ? 50 : 100;
        const int top = above ? 5520 : 2600 + 1500 * k;
        const int labelLeft = above ? 250 : 300;
        const int headingTop = above ? 5780 : 2860 + 1500 * k;
        const int bodyTop = above ? 6140 : 3220 + 1500 * k;
        p.drawPixmap(twipRect(left, top, 3600, 2400).topLeft(), artwork::balloon(above, dpr));
        drawLabel(p, twipRect(labelLeft, headingTop, 1695, 255), u"会议详细信息："_s, arial9(true),
                  artwork::WindowText, true);
        const QString body =
            state.emptyList ? QString() : sampleRows()[static_cast<std::size_t>(k)].detail;
        drawLabel(p, twipRect(labelLeft, bodyTop, 3255, 1575), body, arial9(false),
                  artwork::WindowText, true);
    }
    return panel;
}

}  // namespace talvane::preview

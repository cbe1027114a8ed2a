// Renders every panel picture at 1x and 2x, the application icon, the hand
// cursor and a few composed sample panels into PNG files for review.
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTextStream>

#include <functional>

#include "artwork/Artwork.h"
#include "tools/artwork-preview/ContactSheet.h"
#include "tools/artwork-preview/SamplePanel.h"

namespace {

using talvane::preview::SampleState;

class Writer {
  public:
    explicit Writer(QDir dir) : dir_(std::move(dir)) {}

    void save(const QString& name, const QImage& image) {
        const QString path = dir_.filePath(name + QStringLiteral(".png"));
        if (!image.save(path)) {
            QTextStream(stderr) << "cannot write " << path << '\n';
            ok_ = false;
        }
    }
    void save(const QString& name, const QPixmap& pixmap) { save(name, pixmap.toImage()); }

    bool ok() const { return ok_; }

  private:
    QDir dir_;
    bool ok_ = true;
};

void writeAtDensity(Writer& out, qreal dpr) {
    namespace art = talvane::artwork;
    const QString at = QStringLiteral("@%1x").arg(dpr);
    out.save(QStringLiteral("background") + at, art::background(dpr));
    out.save(QStringLiteral("arrow-normal") + at, art::arrow(false, dpr));
    out.save(QStringLiteral("arrow-highlighted") + at, art::arrow(true, dpr));
    out.save(QStringLiteral("new-badge") + at, art::newBadge(dpr));
    out.save(QStringLiteral("balloon-tip-top") + at, art::balloon(false, dpr));
    out.save(QStringLiteral("balloon-tip-bottom") + at, art::balloon(true, dpr));
    out.save(QStringLiteral("row-highlight") + at, art::rowHighlight(dpr));
    out.save(QStringLiteral("hand-cursor") + at, art::handCursor(dpr).pixmap());
    out.save(QStringLiteral("zoom") + at, talvane::preview::zoomSheet(dpr));

    const struct {
        const char* name;
        SampleState state;
    } panels[] = {
        {"panel-rest", {}},
        {"panel-row1-balloon", {1, 1, false}},
        {"panel-row4-balloon", {4, 4, false}},
        {"panel-row2-hover", {2, -1, false}},
        {"panel-empty", {-1, -1, true}},
    };
    for (const auto& panel : panels) {
        out.save(
            QLatin1String(panel.name) + at,
            talvane::preview::onDesktop(talvane::preview::composeSamplePanel(panel.state, dpr)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    talvane::artwork::installFontSubstitutions();

    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("artifacts/artwork");
    QDir dir;
    if (!dir.mkpath(folder)) {
        QTextStream(stderr) << "cannot create " << folder << '\n';
        return 1;
    }
    Writer out{QDir(folder)};
    for (qreal dpr : {1.0, 2.0}) writeAtDensity(out, dpr);

    const QIcon icon = talvane::artwork::appIcon();
    for (int size : {16, 22, 32, 48, 64}) {
        out.save(QStringLiteral("icon-%1").arg(size), icon.pixmap(size, size));
    }
    out.save(QStringLiteral("icons"), talvane::preview::iconSheet());
    return out.ok() ? 0 : 1;
}

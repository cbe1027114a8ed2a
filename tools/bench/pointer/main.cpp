// Sweeps a scripted pointer path across the real panel (frmMain and its Qt
// view) and reports the time in the move handler and the repaints per move.
// No network: the services outside the window are stand-ins.
//   talvane-bench-pointer [passes]
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/frmMain.h"
#include "artwork/Artwork.h"
#include "platform/linux/IconvCodePage.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/SystemRandom.h"
#include "platform/qt/QtAppWindow.h"
#include "tools/bench/pointer/BenchServices.h"
#include "tools/bench/pointer/Percentile.h"
#include "tools/bench/pointer/SweepPath.h"
#include "tools/bench/pointer/TimedPanelView.h"

namespace {

using namespace talvane;
using namespace talvane::bench;

struct MoveRecord {
    double handlerUs = 0;
    int repaints = 0;
    bool changed = false;
    bool cursorChanged = false;  // arrow to hand or back
};

// Lets queued updates turn into paints, as the event loop would between two
// pointer events.
void settle() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool waitForFirstPaint(const PanelView& view) {
    QElapsedTimer timer;
    timer.start();
    while (view.paintCount() == 0 && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return view.paintCount() > 0;
}

// Through the widget: the event the window system would deliver.
std::vector<MoveRecord> sweepThroughView(TimedPanelView& view, const frmMain& form,
                                         const std::vector<PixelPoint>& path) {
    std::vector<MoveRecord> records;
    records.reserve(path.size());
    for (const PixelPoint& p : path) {
        const auto before = HoverSnapshot(form.model());
        const Qt::CursorShape cursorBefore = view.cursor().shape();
        const int paints = view.paintCount();
        const QPointF local(p.x, p.y);
        QMouseEvent move(QEvent::MouseMove, local, view.mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &move);
        const double us = std::chrono::duration<double, std::micro>(view.lastMove).count();
        settle();
        records.push_back({us, view.paintCount() - paints, HoverSnapshot(form.model()) != before,
                           view.cursor().shape() != cursorBefore});
    }
    return records;
}

// The form's handler alone, at the positions the view would pass it.
std::vector<double> sweepThroughForm(frmMain& form, const std::vector<PixelPoint>& path, float tx,
                                     float ty) {
    std::vector<double> times;
    times.reserve(path.size());
    for (const PixelPoint& p : path) {
        const auto start = std::chrono::steady_clock::now();
        form.pointerMove(static_cast<float>(p.x * tx), static_cast<float>(p.y * ty), 0, 0);
        times.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        settle();
    }
    return times;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int passes = argc > 1 ? std::atoi(argv[1]) : 3;
    if (passes < 1) {
        std::fprintf(stderr, "usage: talvane-bench-pointer [passes >= 1]\n");
        return 2;
    }
    QApplication app(argc, argv);
    artwork::installFontSubstitutions();

    TimedPanelView view;
    QtAppWindow window(view);
    SilentTray tray;
    NoOpener opener;
    StoredClientNumber profile;
    IconvCodePage codePage("GBK");
    NowhereFolder paths;
    SystemClock clock;
    SystemRandom random;
    CannedEventService http(codePage);
    NoComponents automation;
    NoEarlierInstance instance;

    frmMain form(FormServices{instance, window, tray, opener, profile, codePage, paths, clock,
                              random, http, automation, u"http://127.0.0.1:9"});
    view.attach(form, window);
    if (!form.Form_Load()) {
        return 1;
    }
    form.frmOpen_Click();
    if (!waitForFirstPaint(view)) {
        std::fprintf(stderr, "talvane-bench-pointer: the panel was never painted\n");
        return 1;
    }

    const float tx = window.screen().twipsPerPixelX;
    const float ty = window.screen().twipsPerPixelY;
    const std::vector<PixelPoint> path =
        PanelSweep(form.model(), tx, ty, view.width(), view.height(), 2.0);

    // One pass to warm caches and lay out every balloon's text once.
    sweepThroughView(view, form, path);

    std::vector<MoveRecord> moves;
    std::vector<double> formTimes;
    for (int pass = 0; pass < passes; ++pass) {
        const auto viewMoves = sweepThroughView(view, form, path);
        moves.insert(moves.end(), viewMoves.begin(), viewMoves.end());
        const auto formMoves = sweepThroughForm(form, path, tx, ty);
        formTimes.insert(formTimes.end(), formMoves.begin(), formMoves.end());
    }

    std::vector<double> all, changing, unchanged, cursorChanges;
    int repaintsChanging = 0, repaintsUnchanged = 0, mostRepaints = 0;
    for (const MoveRecord& m : moves) {
        mostRepaints = std::max(mostRepaints, m.repaints);
        all.push_back(m.handlerUs);
        if (m.cursorChanged) {
            cursorChanges.push_back(m.handlerUs);
        }
        (m.changed ? changing : unchanged).push_back(m.handlerUs);
        (m.changed ? repaintsChanging : repaintsUnchanged) += m.repaints;
    }
    std::printf(
        "pointer platform=%s passes=%d moves=%zu changing=%zu unchanged=%zu repaints_unchanged=%d "
        "repaints_changing=%d most_repaints_in_a_move=%d repaints_per_move=%.3f "
        "view_median_us=%.2f view_p90_us=%.2f view_p99_us=%.2f "
        "view_max_us=%.1f view_changing_median_us=%.2f view_unchanged_median_us=%.2f "
        "cursor_changes=%zu "
        "view_cursor_median_us=%.2f form_median_us=%.2f form_p90_us=%.2f\n",
        qPrintable(QGuiApplication::platformName()), passes, moves.size(), changing.size(),
        unchanged.size(), repaintsUnchanged, repaintsChanging, mostRepaints,
        moves.empty() ? 0.0
                      : static_cast<double>(repaintsChanging + repaintsUnchanged) / moves.size(),
        Percentile(all, 50), Percentile(all, 90), Percentile(all, 99), Percentile(all, 100),
        Percentile(changing, 50), Percentile(unchanged, 50), cursorChanges.size(),
        Percentile(cursorChanges, 50), Percentile(formTimes, 50), Percentile(formTimes, 90));
    return 0;
}

// talvane-bench-card: shows one reminder card through the real component,
// the way the notifier does, and measures the process's CPU from
// DisplayAlert until the card has closed itself. Prints one line:
//   card label=qt lifetime_ms=N wall_ms=N cpu_ms=X
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

#include <cstdio>

#include "components/FormObject.h"
#include "platform/linux/ComponentAutomation.h"
#include "tools/bench/CardSample.h"
#include "tools/bench/probe/ProcessStats.h"

namespace {

class BenchWindow : public talvane::FormObject {
  public:
    void DoTransparency() override {}
    std::u16string getTitle(std::u16string& title) override { return title; }
    bool knowIfVisitPage() override { return true; }
    std::u16string serviceBaseUrl() const override { return u"http://127.0.0.1:8765"; }
};

bool anyCardShown() {
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) return true;
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    talvane::ComponentAutomation automation(talvane::ComponentAutomation::defaultSearchDirectories(
        QCoreApplication::applicationDirPath().toStdString()));
    BenchWindow window;
    talvane::CreatedObject popup = automation.create("Flarebox.DisplayMsg");
    if (!popup.object) {
        std::fprintf(stderr, "talvane-bench-card: %s\n", popup.result.reason.c_str());
        return 1;
    }

    const auto before = talvane::bench::SampleCost(getpid());
    QElapsedTimer wall;
    wall.start();
    const talvane::ComponentResult shown = popup.object->DisplayAlert(
        u"unknown value", kBenchCardTenths, 50, kBenchCardMessage, &window);
    if (!shown.ok() || !before) {
        std::fprintf(stderr, "talvane-bench-card: DisplayAlert failed: %s\n", shown.reason.c_str());
        return 1;
    }
    popup.object.reset();

    // A look four times a second costs far less than the card and ends the
    // measurement within a quarter of a second of the card's own end.
    QTimer watch;
    watch.setInterval(250);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (anyCardShown()) return;
        watch.stop();
        const auto after = talvane::bench::SampleCost(getpid());
        if (!after) {
            QCoreApplication::exit(1);
            return;
        }
        const talvane::bench::CostDelta cost = talvane::bench::CostBetween(*before, *after);
        std::printf("card label=qt lifetime_ms=%d wall_ms=%lld cpu_ms=%.1f\n",
                    kBenchCardTenths * 100, static_cast<long long>(wall.elapsed()),
                    double(cost.cpuNs) / 1e6);
        QCoreApplication::quit();
    });
    watch.start();
    return app.exec();
}

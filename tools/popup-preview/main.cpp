// popup_preview [--count N] [--seconds S] [message...]
// Loads "Flarebox.DisplayMsg" the way the notifier does and hands it sample
// reminders (or the messages given, five elements joined by "||||||"), one
// every half second, then quits after S seconds (default 12).

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <string>

#include "components/FormObject.h"
#include "platform/linux/ComponentAutomation.h"

namespace {

class PreviewWindow : public talvane::FormObject {
  public:
    void DoTransparency() override {}
    std::u16string getTitle(std::u16string& title) override { return title; }
    bool knowIfVisitPage() override { return true; }
    std::u16string serviceBaseUrl() const override { return u"http://127.0.0.1:8765"; }
};

// heading, time, title, event identifier, note
const QStringList kSamples = {
    QStringLiteral(
        "研讨会即将开始||||||2026-12-09 14:30||||||企业级云原生架构实践：从容...||||||"
        "20261209001||||||请提前十分钟进入会议室，并检查耳机与网络。本场研讨会将介绍服务拆分、"
        "容器编排与可观测性的落地经验，并现场解答听众提问。"),
    QStringLiteral("会议重现已上线||||||2026-11-25 14:00||||||零信任安全体系建设指南||||||"
                   "20261125003||||||错过直播的朋友可随时点播本场会议重现。"),
    QStringLiteral("||||||||||||Webinar: Tray icons...||||||||||||"),
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    int count = 1;
    int seconds = 12;
    QStringList messages;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == u"--count" && i + 1 < args.size()) {
            count = args[++i].toInt();
        } else if (args[i] == u"--seconds" && i + 1 < args.size()) {
            seconds = args[++i].toInt();
        } else {
            messages.append(args[i]);
        }
    }
    if (messages.isEmpty()) messages = kSamples;

    talvane::ComponentAutomation automation(talvane::ComponentAutomation::defaultSearchDirectories(
        QCoreApplication::applicationDirPath().toStdString()));
    PreviewWindow window;
    int shown = 0;
    QTimer next;
    next.setInterval(500);
    const auto showNext = [&] {
        if (shown >= count) {
            next.stop();
            return;
        }
        talvane::CreatedObject popup = automation.create("Flarebox.DisplayMsg");
        if (!popup.object) {
            std::fprintf(stderr, "popup_preview: %s\n", popup.result.reason.c_str());
            QCoreApplication::exit(1);
            return;
        }
        const talvane::ComponentResult result = popup.object->DisplayAlert(
            u"unknown value", 103, 50, messages[shown % messages.size()].toStdU16String(), &window);
        if (!result.ok()) {
            std::fprintf(stderr, "popup_preview: DisplayAlert failed: %s\n", result.reason.c_str());
        }
        ++shown;
    };
    QObject::connect(&next, &QTimer::timeout, showNext);
    next.start();
    QTimer::singleShot(0, &next, showNext);
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    return app.exec();
}

// The toolkit's floor: the least a Qt 6 tray program does. A tray icon with
// a 32 x 32 picture and one hidden frameless widget, nothing else; the
// benchmarks compare the notifier against it.
//   talvane-bench-floor [--tick-ms N]
// --tick-ms adds a timer that fires every N ms and does nothing: the
// floor's idle cost plus that of bare ticks, to hold a ticking program to.
#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <cstring>

namespace {

// Two colours, so that a watcher can tell a drawn icon from an empty window.
QIcon floorIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(QColor(0x1f, 0x5f, 0xbf));
    QPainter painter(&pixmap);
    painter.fillRect(8, 8, 16, 16, Qt::white);
    return QIcon(pixmap);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("talvane-bench-floor"));
    QApplication::setQuitOnLastWindowClosed(false);

    QWidget window;
    window.setWindowFlag(Qt::FramelessWindowHint);

    QSystemTrayIcon tray(floorIcon());
    tray.setVisible(true);

    QTimer tick;
    if (argc == 3 && std::strcmp(argv[1], "--tick-ms") == 0) {
        tick.setInterval(std::atoi(argv[2]));
        QObject::connect(&tick, &QTimer::timeout, [] {});
        tick.start();
    }
    return QApplication::exec();
}

// A desktop notification service for tests: owns org.freedesktop.Notifications
// on the session bus and answers its Inhibited property from a file, "1"
// for inhibited (a do-not-disturb or presentation mode), anything else for
// not, read at every question so that a script can switch it:
//   fake-notifications STATE-FILE
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QFile>
#include <QObject>
#include <cstdio>

class Notifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
    Q_PROPERTY(bool Inhibited READ inhibited)

  public:
    explicit Notifications(QString stateFile) : stateFile_(std::move(stateFile)) {}
    bool inhibited() const {
        QFile file(stateFile_);
        return file.open(QIODevice::ReadOnly) && file.read(1) == "1";
    }

  private:
    QString stateFile_;
};

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 2) return 2;
    QDBusConnection bus = QDBusConnection::sessionBus();
    Notifications notifications(QString::fromLocal8Bit(argv[1]));
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications,
                            QDBusConnection::ExportAllProperties) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "fake-notifications: cannot take the name: %s\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

#include "FakeNotifications.moc"

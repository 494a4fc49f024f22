#include "platform/WallClockWatch.h"

#include <QDBusConnection>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <limits>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// Where D-Bus looks for the system bus when no address is given.
bool SystemBusMayBeThere() {
    return qEnvironmentVariableIsSet("DBUS_SYSTEM_BUS_ADDRESS") ||
           QFileInfo::exists(QStringLiteral("/run/dbus/system_bus_socket")) ||
           QFileInfo::exists(QStringLiteral("/var/run/dbus/system_bus_socket"));
}

// logind says "PrepareForSleep(false)" when the machine has woken up.
class ResumeListener : public QObject {
    Q_OBJECT
  public:
    explicit ResumeListener(WallClockWatch* watch) : watch_(watch) {
        // Without a system bus (a container, a bare session) there is no
        // resume to hear of, and no D-Bus library or thread to start for it.
        if (!SystemBusMayBeThere()) return;
        QDBusConnection::systemBus().connect(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
            this, SLOT(PrepareForSleep(bool)));
    }

  private slots:
    void PrepareForSleep(bool sleeping) {
        if (!sleeping) emit watch_->MayHaveMoved();
    }

  private:
    WallClockWatch* watch_;
};

// A timer on the wall clock, due never, that the kernel cancels whenever the
// time is set: the descriptor turns readable only then.
bool ArmCancelOnSet(int fd) {
    itimerspec never = {};
    never.it_value.tv_sec = std::numeric_limits<time_t>::max();
    return ::timerfd_settime(fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr) == 0;
}

} // namespace

struct WallClockWatch::Sources {
    explicit Sources(WallClockWatch* watch) : resume(watch) {
        fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
        if (fd < 0) return;
        if (!ArmCancelOnSet(fd)) return;
        timeSet = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(timeSet.get(), &QSocketNotifier::activated, watch, [this, watch] {
            std::uint64_t expirations = 0;
            if (::read(fd, &expirations, sizeof expirations) < 0 && errno == ECANCELED) {
                ArmCancelOnSet(fd);
                emit watch->MayHaveMoved();
            }
        });
    }
    ~Sources() {
        timeSet.reset();
        if (fd >= 0) ::close(fd);
    }
    Sources(const Sources&) = delete;
    Sources& operator=(const Sources&) = delete;

    ResumeListener resume;
    int fd = -1;
    std::unique_ptr<QSocketNotifier> timeSet;
};

WallClockWatch::WallClockWatch(QObject* parent)
    : QObject(parent), sources_(std::make_unique<Sources>(this)) {}

WallClockWatch::~WallClockWatch() = default;

#include "WallClockWatch_posix.moc"

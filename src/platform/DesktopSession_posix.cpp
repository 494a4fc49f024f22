#include "platform/DesktopSession.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <X11/ICE/ICElib.h>

namespace {

const QString kManager = QStringLiteral("org.gnome.SessionManager");
const QString kClientInterface = QStringLiteral("org.gnome.SessionManager.ClientPrivate");

// Our client object at the session manager: its questions and orders.
class SessionClient : public QObject {
    Q_OBJECT
  public:
    SessionClient(QObject* context, const QString& path, std::function<void()> onEnd)
        : QObject(context), path_(path), onEnd_(std::move(onEnd)) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        for (const char* signal : {"QueryEndSession", "EndSession"})
            bus.connect(kManager, path_, kClientInterface, QLatin1String(signal), this,
                        signal[0] == 'Q' ? SLOT(QueryEndSession(uint)) : SLOT(EndSession(uint)));
        bus.connect(kManager, path_, kClientInterface, QStringLiteral("Stop"), this, SLOT(Stop()));
    }

  private slots:
    // Nothing here holds a logout up: the end saves everything.
    void QueryEndSession(uint) { Respond(); }
    void EndSession(uint) {
        End();
        Respond();
    }
    void Stop() { End(); }

  private:
    void End() {
        if (ended_) return;
        ended_ = true;
        onEnd_();
    }
    // Waited for, so that the answer has gone before the program ends.
    void Respond() {
        QDBusMessage answer = QDBusMessage::createMethodCall(kManager, path_, kClientInterface,
                                                             QStringLiteral("EndSessionResponse"));
        answer << true << QString();
        QDBusConnection::sessionBus().call(answer, QDBus::Block, 5000);
    }

    QString path_;
    std::function<void()> onEnd_;
    bool ended_ = false;
};

// The X session manager's order to end (XSMP's Die) reaches the program as a
// quit event sent from inside libICE's reading of the connection. The exit
// it starts lets events through, which would read that connection again from
// within; and the manager, gone by then, makes libICE's default handler end
// the process part way through the exit, as a failure. So the quit waits for
// the reading to return, and a connection lost once the end has been
// ordered is no error.
class XsmpEnd : public QObject {
  public:
    explicit XsmpEnd(QObject* parent) : QObject(parent) {
        defaultHandler_ = IceSetIOErrorHandler(&XsmpEnd::ConnectionLost);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != qApp || event->type() != QEvent::Quit || event == posted_) return false;
        ended_ = true;
        posted_ = new QEvent(QEvent::Quit);
        QCoreApplication::postEvent(qApp, posted_);
        return true;
    }

  private:
    static void ConnectionLost(IceConn connection) {
        // Before the end, the manager's loss ends the program as it always
        // has, which saves as the exit does.
        if (!ended_ && defaultHandler_) defaultHandler_(connection);
    }

    QEvent* posted_ = nullptr;
    static inline bool ended_ = false;
    static inline IceIOErrorHandler defaultHandler_ = nullptr;
};

} // namespace

void JoinDesktopSession(QObject* context, std::function<void()> onEnd) {
    // Through X11 the session manager's own X protocol reaches Qt already.
    if (QGuiApplication::platformName() == QLatin1String("xcb") &&
        !qEnvironmentVariableIsEmpty("SESSION_MANAGER")) {
        qApp->installEventFilter(new XsmpEnd(context));
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    // A start by the session's autostart names the client it expects.
    const QString startupId = QString::fromLocal8Bit(qgetenv("DESKTOP_AUTOSTART_ID"));
    qunsetenv("DESKTOP_AUTOSTART_ID");
    QDBusMessage registration = QDBusMessage::createMethodCall(
        kManager, QStringLiteral("/org/gnome/SessionManager"), kManager,
        QStringLiteral("RegisterClient"));
    registration << QGuiApplication::desktopFileName() << startupId;
    // Asked without waiting: start-up goes on, and a desktop without the
    // session manager just answers with an error.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(registration), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [context, watcher, onEnd = std::move(onEnd)] {
                         watcher->deleteLater();
                         const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
                         if (reply.isValid())
                             new SessionClient(context, reply.value().path(), onEnd);
                     });
}

#include "DesktopSession_posix.moc"

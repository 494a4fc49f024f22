#include "platform/DesktopSession.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>

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

} // namespace

void JoinDesktopSession(QObject* context, std::function<void()> onEnd) {
    // Through X11 the session manager's own X protocol reaches Qt already.
    if (QGuiApplication::platformName() == QLatin1String("xcb") &&
        !qEnvironmentVariableIsEmpty("SESSION_MANAGER"))
        return;
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

#include "platform/WindowAttention.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
// Without the keyboard only while the compositor maps it, or while the
// Shell's overview passes, the window is not told of.
constexpr int kUnseenAfterMs = 1000;

bool NewWindowsTakeKeyboard() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

QDBusMessage Call(const char* method) {
    return QDBusMessage::createMethodCall(kService, kPath, kService, QLatin1String(method));
}

// The notification of one window.
class Notice : public QObject {
    Q_OBJECT
  public:
    explicit Notice(QWidget* window) : QObject(window), window_(window) {
        unseen_.setSingleShot(true);
        unseen_.setInterval(kUnseenAfterMs);
        connect(&unseen_, &QTimer::timeout, this, &Notice::Send);
        window->installEventFilter(this);
        QDBusConnection::sessionBus().connect(kService, kPath, kService,
                                              QStringLiteral("NotificationClosed"), this,
                                              SLOT(Closed(uint, uint)));
    }

    void SetTexts(const QString& title, const QString& text) {
        title_ = title;
        text_ = text;
        if (id_ != 0 || sending_)
            Send();
        else
            Watch();
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::WindowDeactivate:
            Watch();
            break;
        case QEvent::WindowActivate:
        case QEvent::Hide:
            Withdraw();
            break;
        default:
            break;
        }
        return false;
    }

  private slots:
    // Dismissed or clicked: the next loss of the keyboard tells again.
    void Closed(uint id, uint) {
        if (id == id_) id_ = 0;
    }

  private:
    void Watch() {
        if (window_->isVisible() && !window_->isActiveWindow()) unseen_.start();
    }

    void Send() {
        wanted_ = true;
        if (sending_) {
            resend_ = true;
            return;
        }
        sending_ = true;
        // Critical: the Shell keeps it on screen until it is answered; no
        // action: a click brings the program's window, as the Shell does it.
        QVariantMap hints;
        hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(2)));
        hints.insert(QStringLiteral("desktop-entry"), QGuiApplication::desktopFileName());
        QDBusMessage notify = Call("Notify");
        notify << QGuiApplication::applicationName() << id_ << QString() << title_
               << text_.toHtmlEscaped() << QStringList() << hints << 0;
        auto* watcher =
            new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
            watcher->deleteLater();
            sending_ = false;
            const QDBusPendingReply<uint> reply = *watcher;
            if (reply.isValid()) id_ = reply.value();
            if (!wanted_) {
                Withdraw();
            } else if (resend_) {
                resend_ = false;
                Send();
            }
        });
    }

    void Withdraw() {
        unseen_.stop();
        wanted_ = false;
        resend_ = false;
        if (id_ == 0) return;
        QDBusMessage close = Call("CloseNotification");
        close << id_;
        QDBusConnection::sessionBus().asyncCall(close);
        id_ = 0;
    }

    QWidget* window_;
    QTimer unseen_;
    QString title_;
    QString text_;
    uint id_ = 0;
    bool sending_ = false;
    bool resend_ = false;
    bool wanted_ = false;
};

// Keys for one window, held until the user has sought it.
class KeyHold : public QObject {
  public:
    explicit KeyHold(QWidget* window) : QObject(window), window_(window) {
        qApp->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!Within(receiver)) return false;
        switch (event->type()) {
        case QEvent::Show:
            if (receiver == window_) Hold();
            break;
        case QEvent::WindowDeactivate:
            if (receiver == window_) wentAway_ = true;
            break;
        case QEvent::WindowActivate:
            if (receiver == window_ && wentAway_) held_ = false;
            break;
        case QEvent::MouseButtonPress:
            held_ = false;
            break;
        case QEvent::MouseMove:
            // The pointer may rest where the window comes up: only a move
            // from there is the user's.
            if (const QPointF at = static_cast<QMouseEvent*>(event)->globalPosition();
                !pointerSeen_) {
                pointerSeen_ = true;
                pointerAt_ = at;
            } else if (at != pointerAt_) {
                held_ = false;
            }
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
            return held_;
        default:
            break;
        }
        return false;
    }

  private:
    bool Within(QObject* receiver) const {
        if (receiver->isWidgetType()) return static_cast<QWidget*>(receiver)->window() == window_;
        return receiver->isWindowType() && receiver == window_->windowHandle();
    }
    void Hold() {
        held_ = true;
        wentAway_ = false;
        pointerSeen_ = false;
    }

    QWidget* window_;
    bool held_ = true;
    bool wentAway_ = false;
    bool pointerSeen_ = false;
    QPointF pointerAt_;
};

} // namespace

void KeepInSight(QWidget* window, const QString& title, const QString& text) {
    if (!NewWindowsTakeKeyboard() || !QDBusConnection::sessionBus().isConnected()) return;
    Notice* notice = window->findChild<Notice*>(QString(), Qt::FindDirectChildrenOnly);
    if (!notice) notice = new Notice(window);
    notice->SetTexts(title, text);
}

void HoldStrayKeys(QWidget* window) {
    if (NewWindowsTakeKeyboard()) new KeyHold(window);
}

#include "WindowAttention_posix.moc"

#include "TestSupport.h"

#include "app/frmMain.h"
#include "core/VbForm.h"
#include "core/mdlMain.h"
#include "dialogs/MessageText.h"
#include "dialogs/frm2Message.h"
#include "dialogs/frm3Message.h"
#include "dialogs/frmMessage.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Fonts.h"
#include "platform/Mci.h"
#include "platform/SingleInstance.h"
#include "platform/TextFile.h"
#include "store/FlexGrid.h"
#include "store/ScheduleFile.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QStandardPaths>
#include <QtTest>
#ifdef Q_OS_UNIX
#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#endif

namespace {
// Every window gone at once, without close requests.
void DestroyAllForms() {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (qobject_cast<VbForm*>(w)) delete w;
}

// Every window gone, the instance lock released.
void EndRun() {
    DestroyAllForms();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SingleInstance::Release();
}
} // namespace

AppFixture::AppFixture(const QDateTime& now) {
    EndRun();
    mdlMain::ResetState();
    Fonts::RegisterSubstitutes();
    AppPaths::SetExecutableFolder(dir_.path());
    AppPaths::SetUserDataFolder(Folder() + QStringLiteral("user-data"));
    Clock::Set(now);
    Mci::SetSoundImpossible(false);
    // The built-in sounds are there, as in a program's folder.
    for (const char* name : {"Mirato1.mp3", "blackout4.mp3", "blackout5.mp3", "blackout8.mp3"})
        WriteFile(QLatin1String(name), "ID3");
    Mci::SetBackend([this](const QString& c) {
        soundCommands << c;
        if (!c.startsWith(QStringLiteral("play"))) return;
        if (soundImpossible) Mci::SetSoundImpossible(true);
        const QString alias = c.section(QLatin1Char(' '), 1, 1);
        if (unplayable.contains(alias)) Mci::ReportUnplayable(alias);
        if (unplayableLater.contains(alias))
            QTimer::singleShot(0, [alias] { Mci::ReportUnplayable(alias); });
    });
    auto fake = std::make_unique<FakeTray>();
    tray = fake.get();
    SetTray(std::move(fake));
}

void AppFixture::NewRun() {
    EndRun();
    mdlMain::ResetState();
}

AppFixture::~AppFixture() {
    EndRun();
    Mci::SetBackend([](const QString&) {});
}

QString AppFixture::Folder() const {
    return dir_.path() + QLatin1Char('/');
}

void AppFixture::WriteFile(const QString& name, const QByteArray& bytes) const {
    QFile f(Folder() + name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void AppFixture::WriteText(const QString& name, const QString& text) const {
    WriteFile(name, Cp932::Encode(text));
}

QByteArray AppFixture::ReadFile(const QString& name) const {
    QFile f(Folder() + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool AppFixture::Exists(const QString& name) const {
    return QFile::exists(Folder() + name);
}

QMap<QString, QByteArray> AppFixture::Files() const {
    QMap<QString, QByteArray> files;
    const QStringList names = QDir(Folder()).entryList(QDir::Files);
    for (const QString& name : names)
        files.insert(name, ReadFile(name));
    return files;
}

void AppFixture::WriteDefaults() const {
    WriteFile(QStringLiteral("velsokura.txt"), "1\r\n");
    WriteFile(QStringLiteral("AppData.txt"), "1,0,0,\r\n");
}

frmMain* AppFixture::NewMain() {
    return new frmMain();
}

SmallDisk::SmallDisk(const QString& folder) : folder_(folder) {
    QDir().mkpath(folder);
    mounted_ = QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", folder}) == 0;
}

SmallDisk::~SmallDisk() {
    if (mounted_) QProcess::execute("umount", {folder_});
}

void SmallDisk::Fill() const {
    QFile filler(folder_ + "/filler");
    if (!filler.open(QIODevice::WriteOnly)) return;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
}

BoxAnswerer::BoxAnswerer(Answer a) : answer(a) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start(5);
}

BoxAnswerer::~BoxAnswerer() {
    timer_.stop();
}

void BoxAnswerer::Poll() {
    AnswerBox(answer, &texts);
}

bool BoxUp() {
    const frm2Message* notice = FormSlot<frm2Message>::Get();
    const frm3Message* question = FormSlot<frm3Message>::Get();
    return (notice && notice->isVisible()) || (question && question->isVisible());
}

QString BoxText() {
    if (const frm2Message* notice = FormSlot<frm2Message>::Get(); notice && notice->isVisible())
        return notice->lblM->text();
    if (const frm3Message* question = FormSlot<frm3Message>::Get(); question && question->isVisible())
        return question->lblMM->text();
    return {};
}

bool AnswerBox(BoxAnswerer::Answer answer, QStringList* texts) {
    QStringList ignored;
    if (!texts) texts = &ignored;
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        *texts << box->text();
        box->accept();
        return true;
    }
    if (frm2Message* notice = FormSlot<frm2Message>::Get(); notice && notice->isVisible()) {
        *texts << notice->lblM->text();
        if (answer == BoxAnswerer::CloseBox)
            notice->close();
        else
            QTest::mouseClick(notice->cmdMessage, Qt::LeftButton);
        return true;
    }
    frm3Message* question = FormSlot<frm3Message>::Get();
    if (!question || !question->isVisible()) return false;
    *texts << question->lblMM->text();
    switch (answer) {
    case BoxAnswerer::Yes:
        QTest::mouseClick(question->Command1, Qt::LeftButton);
        break;
    case BoxAnswerer::No:
        QTest::mouseClick(question->Command2, Qt::LeftButton);
        break;
    case BoxAnswerer::Cancel:
        QTest::mouseClick(question->Command3, Qt::LeftButton);
        break;
    case BoxAnswerer::CloseBox:
        question->close();
        break;
    }
    return true;
}

QString ScheduleLine(const QString& key, const QString& text) {
    return key + ScheduleFile::FieldSeparator + text;
}

void FillGrid(FlexGrid* grid, const QList<QPair<QString, QString>>& rows) {
    grid->SetRows(2);
    grid->SetTextMatrix(1, 1, QString());
    grid->SetTextMatrix(1, 2, QString());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i == 0) {
            grid->SetTextMatrix(1, 1, rows[0].first);
            grid->SetTextMatrix(1, 2, rows[0].second);
        } else {
            grid->AddItem("\t" + rows[i].first + "\t" + rows[i].second);
        }
    }
    mdlMain::ScheduleCount = static_cast<int>(rows.size());
}

frmMain* StartProgram(AppFixture& app, const QList<QPair<QString, QString>>& rows) {
    app.WriteDefaults();
    QString file = "1\r\n";
    for (const auto& r : rows)
        file += ScheduleLine(r.first, r.second) + "\r\n";
    app.WriteText("velsokura.txt", file + "\r\n");
    return ShowProgram(app);
}

frmMain* RestartProgram(AppFixture& app) {
    app.NewRun();
    return ShowProgram(app);
}

frmMain* LoadProgram(AppFixture& app) {
    frmMain* main = app.NewMain();
    main->Timer1->stop();
    main->Form_Load();
    main->Timer1->stop();
    return main;
}

frmMain* ShowProgram(AppFixture& app) {
    frmMain* main = LoadProgram(app);
    if (frmMessage* notice = FormSlot<frmMessage>::Get(); notice && notice->isVisible())
        QTest::mouseClick(notice->Command1, Qt::LeftButton);
    // The first show sends it to the notification area; the user brings it back.
    main->ShowAtStart();
    emit app.tray->LeftButtonDown();
    main->Timer1_Timer();
    return main;
}

QList<QWidget*> LockedControls(frmMain* m) {
    QList<QWidget*> all = m->EntryFields();
    for (QWidget* w : {static_cast<QWidget*>(m->Command1), static_cast<QWidget*>(m->Command2),
                       static_cast<QWidget*>(m->Command3), static_cast<QWidget*>(m->Command4),
                       static_cast<QWidget*>(m->Command5), static_cast<QWidget*>(m->Command7),
                       static_cast<QWidget*>(m->Command8), static_cast<QWidget*>(m->MSFlexGrid1)})
        all << w;
    return all;
}

QList<QPair<QString, QString>> CrashStateA() {
    QList<QPair<QString, QString>> rows;
    for (int i = 0; i < 200; ++i)
        rows.append({QString("2027/01/01/%1:%2")
                         .arg(i / 60, 2, 10, QChar('0'))
                         .arg(i % 60, 2, 10, QChar('0')),
                     QString(" 予定その%1 と長めの説明を付けておく").arg(i)});
    return rows;
}

QList<QPair<QString, QString>> CrashStateB() {
    return {{"2027/02/01/09:00", " ひとつだけ"}};
}

QDateTime At(int h, int m, int s, int day) {
    return {QDate(2026, 12, day), QTime(h, m, s)};
}

Shows::Shows(const QString& name) : name_(name) {
    qApp->installEventFilter(this);
}

bool Shows::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType() && watched->objectName() == name_) {
        ++count;
        geometry = static_cast<QWidget*>(watched)->geometry();
    }
    return false;
}

QString OffCentre(const QWidget* window) {
    const QRect area = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    const QPoint off = frame.center() - area.center();
    if (!area.contains(frame) || qAbs(off.x()) > 20 || qAbs(off.y()) > 20)
        return QStringLiteral("frame %1,%2 %3x%4 on %5x%6")
            .arg(frame.x())
            .arg(frame.y())
            .arg(frame.width())
            .arg(frame.height())
            .arg(area.width())
            .arg(area.height());
    return {};
}

void TypeText(QLineEdit* field, const QString& text) {
    field->setFocus();
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() < 128;
    if (ascii) {
        QTest::keyClicks(field, text);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(field, &commit);
}

void ClickCell(FlexGrid* grid, int row, int col) {
    const QRect r = grid->visualRect(grid->model()->index(row - 1, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

#ifdef Q_OS_UNIX
const passwd* OrdinaryUser() {
    // A system user of this run's own, made at its first use and removed when
    // the test program ends: runs side by side keep theirs apart.
    struct MadeUser {
        QByteArray name = "velsokura-test-" + QByteArray::number(QCoreApplication::applicationPid());
        bool made = false;
        ~MadeUser() {
            if (made && std::system(("userdel " + name).constData()) != 0)
                std::fprintf(stderr, "the user %s could not be removed\n", name.constData());
        }
    };
    static MadeUser made;
    if (!made.made) {
        if (QProcess::execute("useradd", {"-r", "-M", "-s", "/usr/sbin/nologin",
                                          QString::fromLatin1(made.name)}) != 0)
            return nullptr;
        made.made = true;
    }
    return ::getpwnam(made.name.constData());
}
#endif

AsUser RunAsOrdinaryUser() {
#ifndef Q_OS_UNIX
    return AsUser::Unavailable;
#else
    if (::geteuid() != 0) return AsUser::NotNeeded;
    if (QStandardPaths::findExecutable("setpriv").isEmpty()) return AsUser::Unavailable;
    const passwd* account = OrdinaryUser();
    if (!account) return AsUser::Unavailable;
    const QString user = QString::fromLocal8Bit(account->pw_name);
    // Its own temporary folder, removed with everything the run left in it.
    QTemporaryDir tmp;
    if (::chown(QFile::encodeName(tmp.path()).constData(), account->pw_uid, account->pw_gid) != 0)
        return AsUser::Unavailable;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", tmp.path());
    QString testCase = QString::fromLatin1(QTest::currentTestFunction());
    if (QTest::currentDataTag()) testCase += ':' + QString::fromUtf8(QTest::currentDataTag());
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start("setpriv", {"--reuid=" + user, "--regid=" + user, "--clear-groups",
                            QCoreApplication::applicationFilePath(), testCase});
    return child.waitForFinished(120000) && child.exitCode() == 0 ? AsUser::Passed : AsUser::Failed;
#endif
}

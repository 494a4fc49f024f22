// The notification area, the fixed window size, and the first-run window.

#include "TestSupport.h"
#include "advert/AdvertPage.h"
#include "advert/frmOshirase.h"
#include "app/frmMain.h"
#include "core/Twips.h"
#include "core/mdlMain.h"
#include "platform/AppPaths.h"
#include "store/FlexGrid.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace mdlMain;

namespace {

// Starts as main() does: load, then the first (minimised) show.
frmMain* Launch(AppFixture& app) {
    frmMain* main = app.NewMain();
    main->Form_Load();
    main->Timer1->stop();
    main->ShowAtStart();
    return main;
}

void Hover(QWidget* w) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

const QSize FixedSize() {
    return {Twips::ToPxX(10680), Twips::ToPxY(6384)};
}

} // namespace

class TestTray : public QObject {
    Q_OBJECT
  private slots:
    void startsInTheNotificationArea();
    void leftButtonBringsTheWindowBack();
    void sizeSnapsBack();
    void minimisingWhileBusyAddsNoIcon();
    void minimisingWhileHistoryStandsInDoesNothing();
    void retriesOncePerSecondThenGivesUp_data();
    void retriesOncePerSecondThenGivesUp();
    void noNotificationAreaShowsWindowAndMinimisesToTaskbar();
    void clickOnBareWindowStopsSounds();
    void exitRemovesTheIcon();
    void firstRunShowsAdvertisementOnce();
    void advertisementHoverAndClick();
    void advertisementPageFailure();
};

void TestTray::startsInTheNotificationArea() {
    AppFixture app;
    app.WriteDefaults();
    // Not even shown for a moment: one mapped minimised and unmapped at once
    // may be kept on screen by the window manager, black, its clock frozen.
    Shows shows(QStringLiteral("frmMain"));
    frmMain* main = Launch(app);
    QCOMPARE(app.tray->adds, 1);
    QVERIFY(app.tray->shown);
    QVERIFY(!main->isVisible());
    QCOMPARE(shows.count, 0);
    QCOMPARE(MainHidden, std::uint8_t(1));
    QVERIFY(!main->Timer2->isActive());
}

void TestTray::leftButtonBringsTheWindowBack() {
    AppFixture app;
    app.WriteDefaults();
    frmMain* main = Launch(app);
    emit app.tray->LeftButtonDown();
    QVERIFY(main->isVisible());
    QVERIFY(!(main->windowState() & Qt::WindowMinimized));
    QCOMPARE(main->size(), FixedSize());
    QVERIFY(!app.tray->shown);
    QCOMPARE(MainHidden, std::uint8_t(0));
    // Minimising sends it back.
    main->setWindowState(Qt::WindowMinimized);
    QVERIFY(!main->isVisible());
    QVERIFY(app.tray->shown);
}

void TestTray::sizeSnapsBack() {
    AppFixture app;
    app.WriteDefaults();
    frmMain* main = Launch(app);
    emit app.tray->LeftButtonDown();
    main->setMinimumSize(0, 0);
    main->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    main->resize(300, 200);
    main->Form_Resize();
    QCOMPARE(main->size(), FixedSize());
}

void TestTray::minimisingWhileBusyAddsNoIcon() {
    AppFixture app;
    app.WriteDefaults();
    frmMain* main = Launch(app);
    emit app.tray->LeftButtonDown();
    const int adds = app.tray->adds;
    CommandBusy = 1;
    main->setWindowState(Qt::WindowMinimized);
    QCOMPARE(app.tray->adds, adds);
    QVERIFY(main->isVisible());
    QCOMPARE(MainHidden, std::uint8_t(0));
}

void TestTray::minimisingWhileHistoryStandsInDoesNothing() {
    AppFixture app;
    app.WriteDefaults();
    frmMain* main = Launch(app);
    emit app.tray->LeftButtonDown();
    const int adds = app.tray->adds;
    MainHidden = 1;
    main->setWindowState(Qt::WindowMinimized);
    QCOMPARE(app.tray->adds, adds);
}

void TestTray::retriesOncePerSecondThenGivesUp_data() {
    QTest::addColumn<int>("succeedAt");
    QTest::addColumn<bool>("inTray");
    QTest::newRow("comes up at try 5") << 5 << true;
    QTest::newRow("never") << 0 << false;
}

void TestTray::retriesOncePerSecondThenGivesUp() {
    QFETCH(int, succeedAt);
    QFETCH(bool, inTray);
    AppFixture app;
    app.WriteDefaults();
    app.tray->addSucceeds = false;
    frmMain* main = Launch(app);
    BoxAnswerer boxes;
    QVERIFY(main->Timer2->isActive());
    QCOMPARE(main->Timer2->interval(), 1000);
    for (int tick = 1; tick <= 181 && main->Timer2->isActive(); ++tick) {
        if (tick == succeedAt) app.tray->addSucceeds = true;
        QVERIFY(!main->isVisible() || main->windowState() & Qt::WindowMinimized);
        main->Timer2_Timer();
    }
    QVERIFY(!main->Timer2->isActive());
    QCOMPARE(TrayRetryCount, 0);
    QCOMPARE(MainHidden, std::uint8_t(inTray ? 1 : 0));
    QCOMPARE(main->isVisible(), !inTray);
    QCOMPARE(app.tray->adds, inTray ? 1 + succeedAt : 1 + 181);
    QCOMPARE(boxes.texts, inTray ? QStringList() : QStringList{"アイコンを作成できませんでした。"});
}

void TestTray::noNotificationAreaShowsWindowAndMinimisesToTaskbar() {
    AppFixture app;
    app.WriteDefaults();
    app.tray->addSucceeds = false;
    app.tray->available = false;
    frmMain* main = Launch(app);
    QVERIFY(main->isVisible());
    QVERIFY(!(main->windowState() & Qt::WindowMinimized));
    QVERIFY(!main->Timer2->isActive());
    QCOMPARE(MainHidden, std::uint8_t(0));
    // Minimised, it stays on the taskbar.
    main->setWindowState(Qt::WindowMinimized);
    QVERIFY(main->windowState() & Qt::WindowMinimized);
    QVERIFY(main->isVisible());
    QCOMPARE(MainHidden, std::uint8_t(0));
    QVERIFY(!main->Timer2->isActive());
}

void TestTray::clickOnBareWindowStopsSounds() {
    AppFixture app;
    app.WriteDefaults();
    frmMain* main = Launch(app);
    emit app.tray->LeftButtonDown();
    app.soundCommands.clear();
    QTest::mouseClick(main, Qt::LeftButton, {}, QPoint(5, main->height() - 5));
    QCOMPARE(app.soundCommands, QStringList({"stop Sound1", "stop Sound2", "stop Sound3",
                                             "stop Sound4", "stop Sound5"}));
}

void TestTray::exitRemovesTheIcon() {
    AppFixture app;
    app.WriteDefaults();
    frmMain* main = Launch(app);
    const int removes = app.tray->removes;
    main->Unload(VbForm::vbFormCode);
    QCOMPARE(app.tray->removes, removes + 1);
    QVERIFY(!app.tray->shown);
}

void TestTray::firstRunShowsAdvertisementOnce() {
    AppFixture app;
    app.WriteFile("velsokura.txt", "0\r\n");
    app.WriteFile("AppData.txt", "1,0,0,\r\n");
    Shows shows(QStringLiteral("frmMain"));
    frmMain* main = Launch(app);
    frmOshirase* ad = FormSlot<frmOshirase>::Get();
    QVERIFY(ad && ad->isVisible());
    QCOMPARE(ad->windowTitle(), QString("広告"));
    QCOMPARE(AdShown, std::uint8_t(1));
    QVERIFY(app.tray->shown);
    QCOMPARE(shows.count, 0);
    ad->close(); // the close box does nothing
    QVERIFY(ad->isVisible());
    QTest::mouseClick(ad->Command1, Qt::LeftButton);
    QVERIFY(!FormSlot<frmOshirase>::Loaded());
    QCOMPARE(shows.count, 0); // it stays in the notification area
    emit app.tray->LeftButtonDown();
    QVERIFY(main->isVisible());
    QCOMPARE(main->size(), FixedSize());
    main->Unload(VbForm::vbFormCode);
    QCOMPARE(app.ReadFile("velsokura.txt"), QByteArray("1\r\n"));

    app.NewRun();
    Launch(app);
    QVERIFY(!FormSlot<frmOshirase>::Loaded());
}

void TestTray::advertisementHoverAndClick() {
    AppFixture app;
    QUrl opened;
    const auto previous = frmOshirase::SetPageOpener([&](const QUrl& url) {
        opened = url;
        return true;
    });
    frmOshirase* ad = FormSlot<frmOshirase>::Load();
    ad->show();
    QCOMPARE(ad->Image1->pixmap().size(), QSize(250, 150));
    Hover(ad->Image1);
    QCOMPARE(Twips::Left(ad->Image1), 190.0);
    QCOMPARE(Twips::Top(ad->Image1), 410.0);
    QCOMPARE(ad->Label3->text(), QString("わーいﾟ+｡:.ﾟヽ(=´▽`=)ﾉﾟ.:｡+ﾟ"));
    Hover(ad->Frame1);
    QCOMPARE(Twips::Left(ad->Image1), 240.0);
    QCOMPARE(ad->Label3->text(), QString());
    Hover(ad->Command1);
    QCOMPARE(ad->Label3->text(), QString("(ｐ＿・ｑ)　見てくれないの？ "));
    Hover(ad->Label2);
    QCOMPARE(ad->Label3->text(), QString());

    Hover(ad->Image1);
    QTest::mouseClick(ad->Image1, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(opened, QUrl(QString::fromLatin1(kAdvertPageUrl)));
    QCOMPARE(ad->ImageClicked, std::uint8_t(1));
    QCOMPARE(Twips::Top(ad->Image1), 360.0);
    Hover(ad->Frame1);
    Hover(ad->Command1);
    QCOMPARE(ad->Label3->text(), QString()); // no more pleading
    frmOshirase::SetPageOpener(previous);
}

void TestTray::advertisementPageFailure() {
    AppFixture app;
    const auto previous = frmOshirase::SetPageOpener([](const QUrl&) { return false; });
    frmOshirase* ad = FormSlot<frmOshirase>::Load();
    ad->show();
    BoxAnswerer boxes;
    QTest::mouseClick(ad->Image1, Qt::LeftButton, {}, QPoint(10, 10));
    QCOMPARE(boxes.texts, QStringList{"Webページを開けませんでした。"});
    QCOMPARE(ad->ImageClicked, std::uint8_t(0));
    QVERIFY(ad->isVisible());
    frmOshirase::SetPageOpener(previous);
}

QTEST_MAIN(TestTray)
#include "test_tray.moc"

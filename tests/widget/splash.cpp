#include "app/frmSplash.h"
#include "windowfakes.h"
#include "files/programfolder.h"
#include "window.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

class Splash : public QObject {
    Q_OBJECT
private slots:
    // The splash is a borderless pale-blue window whose only timer fires after five seconds.
    void looksAsDrawn()
    {
        frmSplash splash({});
        QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash.size(), QSize(422, 121));
        QCOMPARE(splash.palette().color(QPalette::Window), QColor(138, 195, 239));
        QCOMPARE(control<QLabel>(splash, "Image1")->geometry(), QRect(0, 16, 81, 89));
        QVERIFY(control<QLabel>(splash, "Image1")->hasScaledContents());
        QVERIFY(control<QTimer>(splash, "Timer1")->isActive());
        QCOMPARE(control<QTimer>(splash, "Timer1")->interval(), 5000);
    }

    // At its tick the splash is gone before the main window shows, and the main window
    // loads once: the two are never on screen together.
    void givesWayToMainWindow()
    {
        QTemporaryDir folder;
        setProgramFolder(folder.path());
        FakePlatform fakes;
        std::unique_ptr<Player> core;
        std::unique_ptr<frmMP3> main;
        QPointer<frmSplash> splash;
        bool splashVisibleAtHandOver = true;
        splash = new frmSplash([&] {
            splashVisibleAtHandOver = splash && splash->isVisible();
            core = std::make_unique<Player>(fakes.parts());
            main = std::make_unique<frmMP3>(*core, windowParts(fakes));
            main->show();
        });
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        QVERIFY(!main);
        QVERIFY(fakes.tray.calls.isEmpty());

        splash->Timer1_Timer();
        QVERIFY(!splashVisibleAtHandOver);
        QVERIFY(main && main->isVisible());
        QTRY_VERIFY(!splash);
        QCOMPARE(fakes.tray.calls.count(QStringLiteral("AddIcon")), 1);
    }
};

QTEST_MAIN(Splash)
#include "splash.moc"

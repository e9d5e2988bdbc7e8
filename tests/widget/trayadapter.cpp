#include "extras/qttrayicon.h"

#include <QIcon>
#include <QImage>
#include <QSignalSpy>
#include <QtTest>

class TrayAdapter : public QObject {
    Q_OBJECT
private slots:
    // The icon carries the player's name as its tooltip and a picture of its own, and no menu
    // of its own: the main window pops its menu itself.
    void iconSettings()
    {
        QtTrayIcon tray;
        auto *icon = tray.findChild<QSystemTrayIcon *>();
        QVERIFY(icon);
        QCOMPARE(icon->toolTip(), QStringLiteral("Velumo MP3 Player"));
        QVERIFY(!icon->contextMenu());
        const QImage shown = icon->icon().pixmap(32, 32).toImage();
        QCOMPARE(shown, QIcon(QStringLiteral(":/resources/tray.png")).pixmap(32, 32).toImage());
        QVERIFY(shown != QIcon(QStringLiteral(":/resources/velumo.png")).pixmap(32, 32).toImage());
    }

    // AddIcon puts the icon up and RemoveIcon takes it down.
    void addAndRemove()
    {
        QtTrayIcon tray;
        auto *icon = tray.findChild<QSystemTrayIcon *>();
        QVERIFY(!icon->isVisible());
        tray.AddIcon();
        QVERIFY(icon->isVisible());
        tray.RemoveIcon();
        QVERIFY(!icon->isVisible());
    }

    // A left click or a double-click asks for the windows back, a right click for the menu,
    // and the middle button asks for nothing.
    void clicksBecomeRequests()
    {
        QtTrayIcon tray;
        auto *icon = tray.findChild<QSystemTrayIcon *>();
        QSignalSpy restore(&tray, &TrayIcon::RestoreRequested);
        QSignalSpy menu(&tray, &TrayIcon::MenuRequested);
        emit icon->activated(QSystemTrayIcon::Trigger);
        emit icon->activated(QSystemTrayIcon::DoubleClick);
        QCOMPARE(restore.count(), 2);
        QCOMPARE(menu.count(), 0);
        emit icon->activated(QSystemTrayIcon::Context);
        emit icon->activated(QSystemTrayIcon::MiddleClick);
        QCOMPARE(restore.count(), 2);
        QCOMPARE(menu.count(), 1);
    }
};

QTEST_MAIN(TrayAdapter)
#include "trayadapter.moc"

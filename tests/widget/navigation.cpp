#include "info/frmEaster.h"
#include "window.h"

#include <QPointer>
#include <QtTest>

namespace {

// A shown main window with three tracks listed.
struct Rig : WindowRig {
    Rig()
    {
        fillPlaylist(p, { "/m/t0.mp3", "/m/t1.mp3", "/m/t2.mp3" });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    void doubleClickRow(int row)
    {
        clickRow(w, row);
        const QPoint centre = playlistView(w)->visualRect(p.playlist().index(row)).center();
        QTest::mouseDClick(playlistView(w)->viewport(), Qt::LeftButton, {}, centre);
    }
};

} // namespace

class Navigation : public QObject {
    Q_OBJECT
private slots:
    // A click on a row of the window's list makes it the current track, and a double-click
    // plays it.
    void rowClicks()
    {
        Rig r;
        clickRow(r.w, 2);
        QCOMPARE(r.p.state().SongPath(), QStringLiteral("/m/t2.mp3"));
        QVERIFY(r.fakes.engine.calls.isEmpty());
        r.doubleClickRow(1);
        QCOMPARE(r.fakes.engine.file, QStringLiteral("/m/t1.mp3"));
    }

    // The greeting opens once however often it is asked for, and afresh after it was closed.
    void greetingWindow()
    {
        Rig r;
        r.p.state().setShownSongName(QStringLiteral("Vebrolia.mp3"));
        r.doubleClickRow(2);
        QPointer<frmEaster> first = r.w.greetingWindow();
        QVERIFY(first && first->isVisible());
        r.doubleClickRow(0);
        QCOMPARE(r.w.greetingWindow(), first.data());

        click(*first, "cmdExit");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);
        r.doubleClickRow(0);
        QVERIFY(r.w.greetingWindow() && r.w.greetingWindow()->isVisible());
        delete r.w.greetingWindow();
    }
};

QTEST_MAIN(Navigation)
#include "navigation.moc"

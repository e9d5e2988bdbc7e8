#include "window.h"

#include <QtTest>

class Removing : public QObject {
    Q_OBJECT
private slots:
    // Qt's move of the view's highlight to a neighbour after a removal neither shows nor
    // lets a second press remove that neighbour.
    void noHighlightAfterRemoval()
    {
        WindowRig r;
        fillPlaylist(r.p, { "/m/t0.mp3", "/m/t1.mp3", "/m/t2.mp3", "/m/t3.mp3" });
        r.w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&r.w));
        clickRow(r.w, 2);
        click(r.w, "cmdDelete");
        QCoreApplication::processEvents();
        QCOMPARE(r.p.playlist().count(), 3);
        QCOMPARE(highlightedRow(r.w), -1);
        trigger(r.w, "Delete");
        QCOMPARE(r.p.playlist().count(), 3);
    }
};

QTEST_MAIN(Removing)
#include "removing.moc"

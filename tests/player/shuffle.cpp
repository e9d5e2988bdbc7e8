#include "playertest.h"

#include <QtTest>

class Shuffle : public QObject {
    Q_OBJECT
private slots:
    // Switching the mode on plays the drawn row at once (0.35 of ten rows is row 3), leaving
    // the list's order alone; switching it off lets the track play on.
    void switchOnAndOff()
    {
        PlayerRig r;
        r.fakes.fixedRandom = 0.35f;
        QStringList tracks;
        for (int row = 0; row < 10; ++row)
            tracks << QStringLiteral("/m/t%1.mp3").arg(row);
        fillPlaylist(r.p, tracks);
        r.p.cmdShuffle_Click();
        QVERIFY(r.state().shuffle());
        QCOMPARE(r.state().SongIndex(), qint16(3));
        QCOMPARE(r.p.selectedRow(), 3);
        QCOMPARE(r.state().SongName(), QStringLiteral("t3.mp3"));
        QCOMPARE(r.fakes.engine.file, QStringLiteral("/m/t3.mp3"));
        QVERIFY(r.fakes.engine.playing);
        QStringList order;
        for (int row = 0; row < r.p.playlist().count(); ++row)
            order << r.p.playlist().pathAt(row);
        QCOMPARE(order, tracks);

        r.takeCalls();
        r.p.cmdShuffle_Click();
        QVERIFY(!r.state().shuffle());
        QVERIFY(r.fakes.engine.calls.isEmpty());
        QCOMPARE(r.state().SongIndex(), qint16(3));
    }

    // On an empty list the mode still switches on, and nothing plays.
    void switchOnWithNothingToPlay()
    {
        PlayerRig r;
        r.fakes.fixedRandom = 0.5f;
        r.p.cmdShuffle_Click();
        QVERIFY(r.state().shuffle());
        QVERIFY(r.fakes.engine.calls.isEmpty());
        QVERIFY(r.state().SongPath().isEmpty());
    }

    // A track that ends with the list emptied under it leaves nothing to pick: the clock
    // stops and the player is stopped, as after the last track.
    void endWithNothingLeftToPick()
    {
        PlayerRig r;
        fillPlaylist(r.p, { "/m/solo.mp3" });
        r.p.cmdShuffle_Click();
        r.p.cmdDelAll_Click();
        r.fakes.engine.endOfFile();
        QVERIFY(!clockRuns(r.p));
        QCOMPARE(r.state().playback(), PlayerState::Playback::Stopped);
        QCOMPARE(r.fakes.engine.calls.last(), QStringLiteral("StopPlayback"));
    }
};

QTEST_GUILESS_MAIN(Shuffle)
#include "shuffle.moc"

#include "playertest.h"

#include <QtTest>

class StartState : public QObject {
    Q_OBJECT
private slots:
    // A new player has nothing listed or current, its markers at rest, full volume and its
    // clock stopped.
    void freshPlayer()
    {
        PlayerRig r;
        const PlayerState &s = r.state();
        QCOMPARE(r.p.playlist().count(), 0);
        QCOMPARE(s.SongIndex(), qint16(0));
        QVERIFY(s.SongPath().isEmpty() && s.SongName().isEmpty() && s.LyricsName().isEmpty());
        QVERIFY(!s.paused() && !s.shuffle() && s.resident());
        QCOMPARE(s.volume(), 10);
        QCOMPARE(s.playback(), PlayerState::Playback::Stopped);
        QVERIFY(!clockRuns(r.p));
    }
};

QTEST_GUILESS_MAIN(StartState)
#include "startstate.moc"

#include "playertest.h"

#include <QtTest>

class Seeking : public QObject {
    Q_OBJECT
private slots:
    // A seek sets the elapsed count and the sung line to the new moment at once, back as well
    // as forward, paused or playing, and leaves a paused track paused; stopped, nothing moves.
    void clockAndLyricsFollow()
    {
        PlayerRig r;
        writeLyrics(QStringLiteral("a.lrc"), "[00:01.00]uno\n[00:20.00]dos\n[01:05.00]tres\n");
        std::optional<qsizetype> marked;
        QObject::connect(
            &r.p, &Player::sungLineChanged, [&](std::optional<qsizetype> line) { marked = line; });
        r.state().setSongPath(QStringLiteral("/m/a.mp3"));
        r.state().setSongName(QStringLiteral("a.mp3"));
        r.p.cmdPlay_Click();

        QVERIFY(r.p.seekTo(65.7));
        QCOMPARE(r.state().PlayMinutes(), qint16(1));
        QCOMPARE(r.state().PlaySeconds(), qint16(5));
        QCOMPARE(marked, qsizetype(2));
        QVERIFY(clockRuns(r.p));

        r.p.cmdPause_Click();
        QVERIFY(r.p.seekTo(-3));
        QCOMPARE(r.fakes.engine.calls.last(), QStringLiteral("Seek 0"));
        QCOMPARE(r.state().PlaySeconds(), qint16(0));
        QVERIFY(!marked);
        QCOMPARE(r.state().playback(), PlayerState::Playback::Paused);
        QVERIFY(!clockRuns(r.p));

        r.p.cmdStop_Click();
        r.takeCalls();
        QVERIFY(!r.p.seekTo(10));
        QVERIFY(r.fakes.engine.calls.isEmpty());
    }
};

QTEST_GUILESS_MAIN(Seeking)
#include "seeking.moc"

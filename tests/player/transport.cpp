#include "playertest.h"

#include <QSignalSpy>
#include <QtTest>

using Playback = PlayerState::Playback;

namespace {

// One track current, its lyrics file saying "uno".
struct Rig : PlayerRig {
    Rig()
    {
        state().setSongPath(QStringLiteral("/m/tema.mp3"));
        state().setSongName(QStringLiteral("tema.mp3"));
        fakes.engine.length = 245.4;
        writeLyrics(QStringLiteral("tema.txt"), "uno");
    }
};

} // namespace

class Transport : public QObject {
    Q_OBJECT
private slots:
    // Without a current track Play and Pause do nothing; Stop still reaches the engine, and
    // Mute flips the engine's state each time.
    void nothingLoaded()
    {
        Rig r;
        QSignalSpy lyricsWindow(&r.p, &Player::lyricsWindowWanted);
        r.state().setSongPath(QString());
        r.p.cmdPlay_Click();
        r.p.cmdPause_Click();
        QVERIFY(r.fakes.engine.calls.isEmpty());
        QVERIFY(!r.state().paused());
        QCOMPARE(lyricsWindow.count(), 0);
        r.p.cmdStop_Click();
        r.p.cmdMute_Click();
        r.p.cmdMute_Click();
        QCOMPARE(r.takeCalls(), (QStringList { "StopPlayback", "MuteState true", "MuteState false" }));
    }

    // Play loads the track and starts it from its beginning, also while it plays: its name
    // and length are shown, the clock counts afresh, its lyrics are read again and the
    // lyrics window is asked for.
    void playStartsTrack()
    {
        Rig r;
        QSignalSpy lyricsWindow(&r.p, &Player::lyricsWindowWanted);
        r.p.cmdPlay_Click();
        r.p.Timer_Timer();
        writeLyrics(QStringLiteral("tema.txt"), "dos");
        r.takeCalls();
        r.p.cmdPlay_Click();
        QCOMPARE(r.takeCalls(), (QStringList { "MediaFile /m/tema.mp3", "StartPlayback", "MediaLength" }));
        QCOMPARE(r.state().shownSongName(), QStringLiteral("tema.mp3"));
        QCOMPARE(r.state().shownLength(), (MinutesSeconds { 4, 5 }));
        QVERIFY(clockRuns(r.p));
        QCOMPARE(r.state().PlaySeconds(), qint16(0));
        QCOMPARE(r.p.lyrics(), QStringLiteral("dos"));
        QCOMPARE(lyricsWindow.count(), 2);
    }

    // Pause then Play resumes the file the engine holds: no reload even when another track
    // became current, the elapsed time goes on, the lyrics stay and no lyrics window is asked for.
    void pauseThenPlayResumes()
    {
        Rig r;
        r.p.cmdPlay_Click();
        r.p.Timer_Timer();
        r.p.Timer_Timer();
        r.takeCalls();
        r.p.cmdPause_Click();
        QVERIFY(r.state().paused());
        QVERIFY(!clockRuns(r.p));
        writeLyrics(QStringLiteral("tema.txt"), "dos");
        r.state().setSongPath(QStringLiteral("/m/otro.mp3"));
        QSignalSpy lyricsWindow(&r.p, &Player::lyricsWindowWanted);
        r.p.cmdPlay_Click();
        QCOMPARE(r.takeCalls(), (QStringList { "PausePlayback", "StartPlayback" }));
        QVERIFY(!r.state().paused());
        QVERIFY(clockRuns(r.p));
        QCOMPARE(r.state().PlaySeconds(), qint16(2));
        QCOMPARE(r.p.lyrics(), QStringLiteral("uno"));
        QCOMPARE(r.fakes.engine.file, QStringLiteral("/m/tema.mp3"));
        QCOMPARE(lyricsWindow.count(), 0);
    }

    // Pause, Stop, Play: the marker outlives the stop, so Play resumes, and the clock counts
    // from 0 again while the track's name stays shown.
    void pauseStopPlay()
    {
        Rig r;
        r.p.cmdPlay_Click();
        r.p.Timer_Timer();
        r.p.cmdPause_Click();
        r.p.cmdStop_Click();
        QVERIFY(r.state().paused());
        QVERIFY(r.state().LyricsName().isEmpty());
        QCOMPARE(r.state().shownSongName(), QStringLiteral("tema.mp3"));
        r.takeCalls();
        r.p.cmdPlay_Click();
        QCOMPARE(r.takeCalls(), QStringList { "StartPlayback" });
        QVERIFY(!r.state().paused());
        r.p.Timer_Timer();
        QCOMPARE(r.state().PlaySeconds(), qint16(1));
    }

    void failedResume_data()
    {
        QTest::addColumn<bool>("playedFirst");
        QTest::newRow("paused before anything played") << false;
        QTest::newRow("the engine refuses to go on") << true;
    }
    // A resume that fails clears the marker and leaves the clock stopped, and the next Play
    // loads the track afresh.
    void failedResume()
    {
        QFETCH(bool, playedFirst);
        Rig r;
        if (playedFirst) {
            r.p.cmdPlay_Click();
            r.fakes.engine.failing = QStringList { "StartPlayback" };
        }
        r.p.cmdPause_Click();
        r.takeCalls();
        r.p.cmdPlay_Click();
        QCOMPARE(r.takeCalls(), QStringList { "StartPlayback" });
        QVERIFY(!r.state().paused());
        QVERIFY(!clockRuns(r.p));
        QCOMPARE(r.state().playback(), Playback::Stopped);

        r.fakes.engine.failing.clear();
        r.p.cmdPlay_Click();
        QCOMPARE(r.takeCalls(), (QStringList { "MediaFile /m/tema.mp3", "StartPlayback", "MediaLength" }));
        QVERIFY(clockRuns(r.p));
    }

    // A track that will not start still shows its name, but the clock stays off at 0
    // rather than counting over silence.
    void trackThatWillNotStart()
    {
        Rig r;
        r.p.cmdPlay_Click();
        r.p.Timer_Timer();
        r.fakes.engine.failing = QStringList { "MediaFile", "StartPlayback" };
        r.state().setSongName(QStringLiteral("roto.mp3"));
        r.p.cmdPlay_Click();
        QCOMPARE(r.state().shownSongName(), QStringLiteral("roto.mp3"));
        QVERIFY(!clockRuns(r.p));
        QCOMPARE(r.state().PlaySeconds(), qint16(0));
    }

    // A Pause the engine refuses still sets the marker, while the clock runs on with the
    // sound; Mute with no readable state does nothing and says nothing.
    void engineFailuresArePassedOver()
    {
        Rig r;
        r.p.cmdPlay_Click();
        r.fakes.engine.failing = QStringList { "PausePlayback", "MuteState" };
        r.p.cmdPause_Click();
        QVERIFY(r.state().paused());
        QVERIFY(clockRuns(r.p));
        r.takeCalls();
        r.p.cmdMute_Click();
        QVERIFY(r.takeCalls().isEmpty());
        QVERIFY(r.fakes.messages.shown.isEmpty());
    }

    void playbackFollowsSound_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<Playback>("heard");
        QTest::newRow("nothing yet") << QStringList {} << Playback::Stopped;
        QTest::newRow("Empezar") << QStringList { "play" } << Playback::Playing;
        QTest::newRow("Pausa") << QStringList { "play", "pause" } << Playback::Paused;
        QTest::newRow("Pausa, Empezar") << QStringList { "play", "pause", "play" } << Playback::Playing;
        QTest::newRow("Pausa, Parar") << QStringList { "play", "pause", "stop" } << Playback::Stopped;
        QTest::newRow("Pausa before anything") << QStringList { "pause" } << Playback::Stopped;
        QTest::newRow("a start that fails") << QStringList { "refuse", "play" } << Playback::Stopped;
        QTest::newRow("the next track follows") << QStringList { "play", "end" } << Playback::Playing;
        QTest::newRow("the last track ends") << QStringList { "play", "end", "end" } << Playback::Stopped;
    }
    // The playback status is what is heard, the clock runs exactly while it is Playing and
    // the last change signalled is the status.
    void playbackFollowsSound()
    {
        QFETCH(QStringList, steps);
        QFETCH(Playback, heard);
        Rig r;
        fillPlaylist(r.p, { QStringLiteral("/m/tema.mp3"), QStringLiteral("/m/otro.mp3") });
        QSignalSpy changes(&r.state(), &PlayerState::playbackChanged);
        for (const QString &step : steps) {
            if (step == QLatin1String("play"))
                r.p.cmdPlay_Click();
            else if (step == QLatin1String("pause"))
                r.p.cmdPause_Click();
            else if (step == QLatin1String("stop"))
                r.p.cmdStop_Click();
            else if (step == QLatin1String("end"))
                r.fakes.engine.endOfFile();
            else
                r.fakes.engine.failing = QStringList { "StartPlayback" };
        }
        QCOMPARE(r.state().playback(), heard);
        QCOMPARE(clockRuns(r.p), heard == Playback::Playing);
        QCOMPARE(changes.isEmpty() ? Playback::Stopped : changes.last().at(0).value<Playback>(), heard);
    }
};

QTEST_GUILESS_MAIN(Transport)
#include "transport.moc"

#include "extras/frmLyrics.h"
#include "windowfakes.h"
#include "files/programfolder.h"
#include "window.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using Playback = PlayerState::Playback;

namespace {

// A main window on fakes with one track current; the lyrics window it may open goes with it.
struct Rig {
    FakePlatform fakes;
    Player core { fakes.parts() };
    frmMP3 w { core, windowParts(fakes) };

    Rig()
    {
        w.player().state().setSongPath(QStringLiteral("/m/tema.mp3"));
        w.player().state().setSongName(QStringLiteral("tema.mp3"));
        fakes.engine.length = 245.4;
    }
    ~Rig() { delete w.existingLyricsWindow(); }

    QStringList takeCalls() { return std::exchange(fakes.engine.calls, {}); }
    bool clockRuns() const { return control<QTimer>(core, "Timer")->isActive(); }
    QString lyrics() const
    {
        return w.existingLyricsWindow() ? w.existingLyricsWindow()->lyrics() : "<none>";
    }
};

} // namespace

class Transport : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_folder.emplace();
        QVERIFY(m_folder->isValid());
        setProgramFolder(m_folder->path());
        QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("Lyrics")));
        writeLyrics("uno");
    }

    // Without a current track Play and Pause do nothing; Stop and Mute still reach the engine.
    void nothingLoaded()
    {
        Rig p;
        p.w.player().state().setSongPath(QString());
        p.w.player().cmdPlay_Click();
        p.w.player().cmdPause_Click();
        QVERIFY(p.fakes.engine.calls.isEmpty());
        QVERIFY(!p.w.player().state().paused());
        QVERIFY(!p.w.existingLyricsWindow());
        p.w.player().cmdStop_Click();
        p.w.player().cmdMute_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "StopPlayback", "MuteState true" }));
    }

    // Play loads the track and starts it from its beginning, also while it plays: its name
    // and length show, the clock counts afresh and its lyrics are read again.
    void playStartsTrack()
    {
        Rig p;
        p.w.player().cmdPlay_Click();
        p.w.player().Timer_Timer();
        writeLyrics("dos");
        p.takeCalls();
        p.w.player().cmdPlay_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "MediaFile /m/tema.mp3", "StartPlayback", "MediaLength" }));
        QCOMPARE(labelText(p.w, "LblSongName"), QStringLiteral("tema.mp3"));
        QVERIFY(timeRow(p.w).endsWith(QLatin1String(" 4:5")));
        QVERIFY(p.clockRuns());
        QCOMPARE(p.w.player().state().PlaySeconds(), qint16(0));
        QCOMPARE(p.lyrics(), QStringLiteral("dos"));
    }

    // Pause then Play resumes the file the engine holds: no reload even when another track
    // became current, the elapsed time goes on and the lyrics stay.
    void pauseThenPlayResumes()
    {
        Rig p;
        p.w.player().cmdPlay_Click();
        p.w.player().Timer_Timer();
        p.w.player().Timer_Timer();
        p.takeCalls();
        p.w.player().cmdPause_Click();
        QVERIFY(p.w.player().state().paused());
        QVERIFY(!p.clockRuns());
        writeLyrics("dos");
        p.w.player().state().setSongPath(QStringLiteral("/m/otro.mp3"));
        p.w.player().cmdPlay_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "PausePlayback", "StartPlayback" }));
        QVERIFY(!p.w.player().state().paused());
        QVERIFY(p.clockRuns());
        QCOMPARE(p.w.player().state().PlaySeconds(), qint16(2));
        QCOMPARE(p.lyrics(), QStringLiteral("uno"));
        QCOMPARE(p.fakes.engine.file, QStringLiteral("/m/tema.mp3"));
    }

    // Pause, Stop, Play: the marker outlives the stop, so Play resumes, and the clock counts
    // from 0 again while the labels keep the track's name.
    void pauseStopPlay()
    {
        Rig p;
        p.w.player().cmdPlay_Click();
        p.w.player().Timer_Timer();
        p.w.player().cmdPause_Click();
        p.w.player().cmdStop_Click();
        QVERIFY(p.w.player().state().paused());
        QVERIFY(p.w.player().state().LyricsName().isEmpty());
        QCOMPARE(labelText(p.w, "LblSongName"), QStringLiteral("tema.mp3"));
        p.takeCalls();
        p.w.player().cmdPlay_Click();
        QCOMPARE(p.takeCalls(), QStringList { "StartPlayback" });
        QVERIFY(!p.w.player().state().paused());
        p.w.player().Timer_Timer();
        QVERIFY(timeRow(p.w).startsWith(QLatin1String("0:1 ")));
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
        Rig p;
        if (playedFirst) {
            p.w.player().cmdPlay_Click();
            p.fakes.engine.failing = QStringList { "StartPlayback" };
        }
        p.w.player().cmdPause_Click();
        p.takeCalls();
        p.w.player().cmdPlay_Click();
        QCOMPARE(p.takeCalls(), QStringList { "StartPlayback" });
        QVERIFY(!p.w.player().state().paused());
        QVERIFY(!p.clockRuns());
        QCOMPARE(p.w.player().state().playback(), Playback::Stopped);

        p.fakes.engine.failing.clear();
        p.w.player().cmdPlay_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "MediaFile /m/tema.mp3", "StartPlayback", "MediaLength" }));
        QVERIFY(p.clockRuns());
    }

    // A track that will not start still shows its name, but the clock stays off at 0
    // rather than counting over silence.
    void trackThatWillNotStart()
    {
        Rig p;
        p.w.player().cmdPlay_Click();
        p.w.player().Timer_Timer();
        p.fakes.engine.failing = QStringList { "MediaFile", "StartPlayback" };
        p.w.player().state().setSongName(QStringLiteral("roto.mp3"));
        p.w.player().cmdPlay_Click();
        QCOMPARE(labelText(p.w, "LblSongName"), QStringLiteral("roto.mp3"));
        QVERIFY(!p.clockRuns());
        QCOMPARE(p.w.player().state().PlaySeconds(), qint16(0));
    }

    // A Pause the engine refuses still sets the marker, while the clock runs on with the
    // sound; Mute with no readable state does nothing and says nothing.
    void engineFailuresArePassedOver()
    {
        Rig p;
        p.w.player().cmdPlay_Click();
        p.fakes.engine.failing = QStringList { "PausePlayback", "MuteState" };
        p.w.player().cmdPause_Click();
        QVERIFY(p.w.player().state().paused());
        QVERIFY(p.clockRuns());
        p.takeCalls();
        p.w.player().cmdMute_Click();
        QVERIFY(p.takeCalls().isEmpty());
        QVERIFY(p.fakes.messages.shown.isEmpty());
    }

    // Mute flips the engine's state each time, whatever plays.
    void muteToggles()
    {
        Rig p;
        p.w.player().cmdMute_Click();
        QVERIFY(p.fakes.engine.muted);
        p.w.player().cmdMute_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "MuteState true", "MuteState false" }));
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
        Rig p;
        fillPlaylist(p.w, { QStringLiteral("/m/tema.mp3"), QStringLiteral("/m/otro.mp3") });
        QSignalSpy changes(&p.w.player().state(), &PlayerState::playbackChanged);
        for (const QString &step : steps) {
            if (step == QLatin1String("play"))
                p.w.player().cmdPlay_Click();
            else if (step == QLatin1String("pause"))
                p.w.player().cmdPause_Click();
            else if (step == QLatin1String("stop"))
                p.w.player().cmdStop_Click();
            else if (step == QLatin1String("end"))
                p.fakes.engine.endOfFile();
            else
                p.fakes.engine.failing = QStringList { "StartPlayback" };
        }
        QCOMPARE(p.w.player().state().playback(), heard);
        QCOMPARE(p.clockRuns(), heard == Playback::Playing);
        QCOMPARE(changes.isEmpty() ? Playback::Stopped : changes.last().at(0).value<Playback>(), heard);
    }

    // A new track shows the lyrics window only while the main window is visible, also
    // after the user hid it; a resume leaves it hidden.
    void lyricsWindowFollowsMainWindow()
    {
        Rig p;
        p.w.player().cmdPlay_Click();
        QVERIFY(!p.w.existingLyricsWindow()->isVisible());
        p.w.show();
        p.w.player().cmdPlay_Click();
        QVERIFY(p.w.existingLyricsWindow()->isVisible());
        p.w.HideLyrics_Click();
        p.w.player().cmdPause_Click();
        p.w.player().cmdPlay_Click();
        QVERIFY(!p.w.existingLyricsWindow()->isVisible());
        p.w.player().cmdPlay_Click();
        QVERIFY(p.w.existingLyricsWindow()->isVisible());
    }

private:
    void writeLyrics(const char *text)
    {
        QFile file(besideProgram(QStringLiteral("Lyrics/tema.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    std::optional<QTemporaryDir> m_folder;
};

QTEST_MAIN(Transport)
#include "transport.moc"

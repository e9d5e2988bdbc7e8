#include "app/programfolder.h"
#include "app/tag.h"
#include "extras/frmLyrics.h"
#include "fakes.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// A main window on fakes with one track current; the lyrics window it may open goes with it.
struct Player {
    FakePlatform fakes;
    frmMP3 w { fakes.platform() };

    Player()
    {
        w.SongPath = QStringLiteral("/m/tema.mp3");
        w.SongName = QStringLiteral("tema.mp3");
        fakes.engine.length = 245.4;
    }
    ~Player() { delete w.existingLyricsWindow(); }

    QStringList takeCalls() { return std::exchange(fakes.engine.calls, {}); }
    QString lyrics() const
    {
        const frmLyrics *window = w.existingLyricsWindow();
        return window ? window->txtLyrics->toPlainText() : QStringLiteral("<no window>");
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
        Player p;
        p.w.SongPath.clear();
        p.w.cmdPlay_Click();
        p.w.cmdPause_Click();
        QVERIFY(p.fakes.engine.calls.isEmpty());
        QCOMPARE(Tag(p.w.cmdPause), QStringLiteral("0"));
        QVERIFY(!p.w.existingLyricsWindow());
        p.w.cmdStop_Click();
        p.w.cmdMute_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "StopPlayback", "MuteState true" }));
    }

    // Play starts the track from its beginning, shows its name and length, starts the
    // clock from zero and fills the lyrics window.
    void playStartsTrack()
    {
        Player p;
        p.w.PlaySeconds = 12;
        p.w.PlayMinutes = 3;
        p.w.LyricsName = QStringLiteral("viejo");
        p.w.cmdPlay_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "MediaFile /m/tema.mp3", "StartPlayback", "MediaLength" }));
        QCOMPARE(p.w.LblSongName->text(), QStringLiteral("tema.mp3"));
        QCOMPARE(p.w.lblMM->text() + ':' + p.w.lblSS->text(), QStringLiteral("4:5"));
        QVERIFY(p.w.Timer->isActive());
        QCOMPARE(p.w.PlaySeconds, qint16(0));
        QCOMPARE(p.w.PlayMinutes, qint16(0));
        QCOMPARE(p.w.LyricsName, QStringLiteral("tema"));
        QCOMPARE(p.lyrics(), QStringLiteral("uno"));
    }

    // Play while a track plays starts it again from 0 and reloads its lyrics.
    void playRestarts()
    {
        Player p;
        p.w.cmdPlay_Click();
        p.w.Timer_Timer();
        writeLyrics("dos");
        p.takeCalls();
        p.w.cmdPlay_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "MediaFile /m/tema.mp3", "StartPlayback", "MediaLength" }));
        QCOMPARE(p.w.PlaySeconds, qint16(0));
        QVERIFY(p.w.Timer->isActive());
        QCOMPARE(p.lyrics(), QStringLiteral("dos"));
    }

    // Pause then Play resumes: no reload, the elapsed time goes on, the lyrics stay.
    void pauseThenPlayResumes()
    {
        Player p;
        p.w.cmdPlay_Click();
        p.w.Timer_Timer();
        p.w.Timer_Timer();
        p.takeCalls();
        p.w.cmdPause_Click();
        QCOMPARE(Tag(p.w.cmdPause), QStringLiteral("1"));
        QVERIFY(!p.w.Timer->isActive());
        writeLyrics("dos");
        p.w.SongPath = QStringLiteral("/m/otro.mp3");
        p.w.cmdPlay_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "PausePlayback", "StartPlayback" }));
        QCOMPARE(Tag(p.w.cmdPause), QStringLiteral("0"));
        QVERIFY(p.w.Timer->isActive());
        QCOMPARE(p.w.PlaySeconds, qint16(2));
        QCOMPARE(p.lyrics(), QStringLiteral("uno"));
        QCOMPARE(p.fakes.engine.file, QStringLiteral("/m/tema.mp3"));
    }

    // Pause, Stop, Play: Play resumes through Pause and the clock counts from 0 again.
    void pauseStopPlay()
    {
        Player p;
        p.w.cmdPlay_Click();
        p.w.Timer_Timer();
        p.w.cmdPause_Click();
        p.w.cmdStop_Click();
        QCOMPARE(Tag(p.w.cmdPause), QStringLiteral("1"));
        QVERIFY(!p.w.Timer->isActive());
        QCOMPARE(p.w.PlaySeconds, qint16(0));
        QVERIFY(p.w.LyricsName.isEmpty());
        QCOMPARE(p.w.LblSongName->text(), QStringLiteral("tema.mp3"));
        QCOMPARE(p.w.LblSongTimer2->text(), QStringLiteral("1"));
        p.takeCalls();
        p.w.cmdPlay_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "StartPlayback" }));
        QCOMPARE(Tag(p.w.cmdPause), QStringLiteral("0"));
        QVERIFY(p.w.Timer->isActive());
        p.w.Timer_Timer();
        QCOMPARE(p.w.LblSongTimer1->text() + ':' + p.w.LblSongTimer2->text(), QStringLiteral("0:1"));
    }

    // Pause before any Play pauses the idle engine; the next Play resumes through Pause
    // without handing the engine the current track.
    void pauseBeforeAnyPlay()
    {
        Player p;
        p.w.cmdPause_Click();
        QCOMPARE(Tag(p.w.cmdPause), QStringLiteral("1"));
        p.w.cmdPlay_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "PausePlayback", "StartPlayback" }));
        QCOMPARE(Tag(p.w.cmdPause), QStringLiteral("0"));
        QVERIFY(p.w.Timer->isActive());
        QVERIFY(!p.w.existingLyricsWindow());
    }

    // Any tag other than 0 counts as paused.
    void markerReadAsNumber()
    {
        Player p;
        setTag(p.w.cmdPause, QStringLiteral("2"));
        p.w.cmdPlay_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "StartPlayback" }));
        QCOMPARE(Tag(p.w.cmdPause), QStringLiteral("0"));
    }

    // A track that will not start still shows its name and lyrics, but the clock stays
    // off at 0 rather than counting over silence.
    void trackThatWillNotStart()
    {
        Player p;
        p.w.cmdPlay_Click();
        p.w.Timer_Timer();
        p.fakes.engine.failing = QStringList { "MediaFile", "StartPlayback" };
        p.w.SongName = QStringLiteral("roto.mp3");
        p.takeCalls();
        p.w.cmdPlay_Click();
        QCOMPARE(p.takeCalls(), (QStringList { "MediaFile /m/tema.mp3", "StartPlayback", "MediaLength" }));
        QCOMPARE(p.w.LblSongName->text(), QStringLiteral("roto.mp3"));
        QVERIFY(!p.w.Timer->isActive());
        QCOMPARE(p.w.PlaySeconds, qint16(0));
        QCOMPARE(p.w.LyricsName, QStringLiteral("roto"));
        QCOMPARE(p.lyrics(), QString());
    }

    // Failing engine calls never stop Pause from moving the marker and the clock, so a
    // failed resume cannot trap every later Play; Mute with no readable state does nothing.
    void engineFailuresAreSkipped()
    {
        Player p;
        p.fakes.engine.failing
            = QStringList { "PausePlayback", "StartPlayback", "StopPlayback", "MuteState", "MediaLength" };
        p.w.cmdPause_Click();
        QCOMPARE(Tag(p.w.cmdPause), QStringLiteral("1"));
        QVERIFY(!p.w.Timer->isActive());
        p.w.cmdPause_Click();
        QCOMPARE(Tag(p.w.cmdPause), QStringLiteral("0"));
        QVERIFY(p.w.Timer->isActive());
        p.w.cmdStop_Click();
        QVERIFY(!p.w.Timer->isActive());
        p.takeCalls();
        p.w.cmdMute_Click();
        QVERIFY(p.takeCalls().isEmpty());
        QVERIFY(p.fakes.messages.shown.isEmpty());
    }

    // Mute flips the engine's state each time, whatever plays.
    void muteToggles()
    {
        Player p;
        p.w.cmdMute_Click();
        QVERIFY(p.fakes.engine.muted);
        p.w.cmdMute_Click();
        QVERIFY(!p.fakes.engine.muted);
        QCOMPARE(p.takeCalls(), (QStringList { "MuteState true", "MuteState false" }));
    }

    // The buttons and their menu items reach the same handlers.
    void buttonsAndMenus()
    {
        Player p;
        p.w.cmdPlay->click();
        p.w.cmdPause->click();
        p.w.cmdStop->click();
        p.w.cmdMute->click();
        const QStringList byButtons = p.takeCalls();
        p.w.Play->trigger();
        p.w.Pause->trigger();
        p.w.Stop->trigger();
        p.w.Mute->trigger();
        QCOMPARE(p.takeCalls(),
            (QStringList { "StartPlayback", "PausePlayback", "StopPlayback", "MuteState false" }));
        QCOMPARE(byButtons,
            (QStringList { "MediaFile /m/tema.mp3", "StartPlayback", "MediaLength", "PausePlayback",
                "StopPlayback", "MuteState true" }));
    }

    // A new track shows the lyrics window only while the main window is visible, also
    // after the user hid it; a resume leaves it hidden.
    void lyricsWindowFollowsMainWindow()
    {
        Player p;
        p.w.cmdPlay_Click();
        QVERIFY(p.w.existingLyricsWindow());
        QVERIFY(!p.w.existingLyricsWindow()->isVisible());
        QCOMPARE(p.lyrics(), QStringLiteral("uno"));

        p.w.show();
        p.w.cmdPlay_Click();
        QVERIFY(p.w.existingLyricsWindow()->isVisible());
        p.w.HideLyrics_Click();
        p.w.cmdPause_Click();
        p.w.cmdPlay_Click();
        QVERIFY(!p.w.existingLyricsWindow()->isVisible());
        p.w.cmdPlay_Click();
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

#include "playertest.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

// End is the end of a track with nothing queued; Queued, the end through the file the
// player told the engine to follow.
enum class Step { Back, Forward, End, Queued };

// What changes the player's mind between queuing the next track and hearing it.
enum class Change { None, PauseAndResume, ClickOtherRow, DeleteAll, ShuffleOff, HandOver };

QString track(int row)
{
    return QStringLiteral("/m/t%1.mp3").arg(row);
}

QString name(int row)
{
    return QStringLiteral("t%1.mp3").arg(row);
}

struct Rig : PlayerRig {
    explicit Rig(int rows)
    {
        for (int row = 0; row < rows; ++row)
            p.playlist().append(track(row), name(row));
    }

    // A track outside the list that has been playing for a minute and five seconds.
    void playing(qint16 index)
    {
        state().setSongIndex(index);
        state().setSongPath(QStringLiteral("/m/current.mp3"));
        state().setSongName(QStringLiteral("current.mp3"));
        state().setShownSongName(QStringLiteral("current.mp3"));
        state().setPlayback(PlayerState::Playback::Playing);
        for (int second = 0; second < 65; ++second)
            p.Timer_Timer();
        takeCalls();
    }

    // Makes row current and plays it.
    void play(int row)
    {
        clickRow(p, row);
        p.cmdPlay_Click();
        takeCalls();
    }

    void step(Step step)
    {
        if (step == Step::Back)
            p.cmdBack_Click();
        else if (step == Step::Forward)
            p.cmdForward_Click();
        else if (step == Step::End)
            fakes.engine.endOfFile();
        else
            endThroughQueue();
    }

    void endThroughQueue()
    {
        if (fakes.engine.queued.isEmpty())
            fakes.engine.endOfFile();
        else
            fakes.engine.queuedFileStarts();
    }
};

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Change)

class Navigation : public QObject {
    Q_OBJECT
private slots:
    void stepping_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::addColumn<bool>("plays");

        // For each list length, the index before the step and whether the step lands on a
        // row: Back goes to before - 1, Forward and the end of a track to before + 1.
        struct Cell {
            int rows, before;
            bool backPlays, forwardPlays;
        };
        const Cell cells[] = {
            { 0, -1, false, false },
            { 0, 0, false, false },
            { 1, -2, false, false },
            { 1, -1, false, true },
            { 1, 0, false, false },
            { 1, 1, true, false },
            { 1, 2, false, false },
            { 3, -1, false, true },
            { 3, 0, false, true },
            { 3, 1, true, true },
            { 3, 2, true, false },
            { 3, 3, true, false },
            { 3, 4, false, false },
        };
        for (const Cell &c : cells) {
            const QByteArray at = QByteArray::number(c.rows) + " rows, index " + QByteArray::number(c.before);
            QTest::newRow("back, " + at) << Step::Back << c.rows << c.before << c.before - 1 << c.backPlays;
            QTest::newRow("forward, " + at)
                << Step::Forward << c.rows << c.before << c.before + 1 << c.forwardPlays;
            QTest::newRow("end, " + at) << Step::End << c.rows << c.before << c.before + 1 << c.forwardPlays;
            QTest::newRow("queued, " + at)
                << Step::Queued << c.rows << c.before << c.before + 1 << c.forwardPlays;
        }
    }
    // Each step either takes the row it lands on, or stops: Back and Forward zero the
    // clock, the end of a track leaves it at the time reached. Nothing wraps around. The
    // end of a track through the queued file ends the same, the file queued instead of loaded.
    void stepping()
    {
        QFETCH(Step, step);
        QFETCH(int, rows);
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(bool, plays);
        Rig r(rows);
        r.playing(before);
        r.step(step);

        const bool queued = step == Step::Queued;
        const bool stepped = step == Step::Back || step == Step::Forward;
        QCOMPARE(r.state().SongIndex(), qint16(after));
        QCOMPARE(r.fakes.engine.calls.contains("MediaFile " + track(after)), plays && !queued);
        QCOMPARE(queued && r.fakes.engine.file == track(after), plays && queued);
        QCOMPARE(clockRuns(r.p), plays);
        if (plays) {
            QCOMPARE(r.state().SongPath(), track(after));
            QCOMPARE(r.state().SongName(), name(after));
            QCOMPARE(r.p.selectedRow(), after);
            QCOMPARE(r.state().shownSongName(), name(after));
            QCOMPARE(r.fakes.engine.calls.value(0) == QLatin1String("StopPlayback"), stepped);
            return;
        }
        QCOMPARE(r.fakes.engine.calls, QStringList { "StopPlayback" });
        QCOMPARE(r.state().SongPath(), QStringLiteral("/m/current.mp3"));
        QCOMPARE(r.state().shownSongName(), QStringLiteral("current.mp3"));
        QCOMPARE(r.state().PlayMinutes(), qint16(stepped ? 0 : 1));
        QCOMPARE(r.state().PlaySeconds(), qint16(stepped ? 0 : 5));
    }

    // The index is 16 bits: a step past either end of that range leaves it as it was and
    // the handler goes on as for any index outside the list.
    void indexLimits()
    {
        Rig r(3);
        r.playing(32767);
        r.p.cmdForward_Click();
        r.fakes.engine.endOfFile();
        QCOMPARE(r.state().SongIndex(), qint16(32767));
        r.playing(-32768);
        r.p.cmdBack_Click();
        QCOMPARE(r.state().SongIndex(), qint16(-32768));
        QCOMPARE(r.fakes.engine.calls, QStringList { "StopPlayback" });
    }

    // Back needs a current track; Forward goes on without one, from the current index.
    void backNeedsATrack()
    {
        Rig r(3);
        r.p.cmdBack_Click();
        QVERIFY(r.fakes.engine.calls.isEmpty());
        QCOMPARE(r.state().SongIndex(), qint16(0));
        r.p.cmdForward_Click();
        QCOMPARE(r.state().SongIndex(), qint16(1));
        QCOMPARE(r.state().SongPath(), track(1));
    }

    // While paused a step picks the new row, but Play only resumes the file the engine
    // already holds; the end of that file goes on from the new row.
    void stepWhilePaused()
    {
        Rig r(3);
        r.play(0);
        r.p.cmdPause_Click();
        r.p.cmdForward_Click();
        QVERIFY(r.fakes.engine.calls.filter(QStringLiteral("MediaFile")).isEmpty());
        QVERIFY(r.fakes.engine.playing);
        QCOMPARE(r.fakes.engine.file, track(0));
        QVERIFY(!r.state().paused());
        QCOMPARE(r.state().shownSongName(), name(0));
        QCOMPARE(r.state().SongPath(), track(1));
        QCOMPARE(r.p.selectedRow(), 1);
        r.fakes.engine.endOfFile();
        QCOMPARE(r.fakes.engine.file, track(2));
    }

    // An end of file that arrives after Pausa was on its way before it: the pause holds,
    // and the player goes on as usual from there.
    void pauseHoldsOverEndOfFile()
    {
        Rig r(3);
        r.play(0);
        r.p.cmdPause_Click();
        r.takeCalls();
        r.fakes.engine.endOfFile();
        QVERIFY(r.fakes.engine.calls.isEmpty());
        QCOMPARE(r.state().SongIndex(), qint16(0));
        QCOMPARE(r.state().SongPath(), track(0));
        QVERIFY(r.state().paused());
        QVERIFY(!clockRuns(r.p));

        r.p.cmdPlay_Click();
        QCOMPARE(r.takeCalls(), QStringList { "StartPlayback" });
        QVERIFY(clockRuns(r.p));
        r.fakes.engine.endOfFile();
        QCOMPARE(r.fakes.engine.file, track(1));
        QCOMPARE(r.state().shownSongName(), name(1));
    }

    void shuffleOnEveryStep_data()
    {
        QTest::addColumn<Step>("step");
        QTest::newRow("back") << Step::Back;
        QTest::newRow("forward") << Step::Forward;
        QTest::newRow("end") << Step::End;
        QTest::newRow("queued") << Step::Queued;
    }
    // In shuffle mode every stepping handler plays the row the draw picks (0.7 of three
    // rows is row 2) instead of stepping; the queued file is picked when the track starts.
    void shuffleOnEveryStep()
    {
        QFETCH(Step, step);
        Rig r(3);
        r.fakes.fixedRandom = 0.7f;
        r.state().setShuffle(true);
        r.playing(0);
        r.step(step);
        QCOMPARE(r.state().SongIndex(), qint16(2));
        QCOMPARE(r.p.selectedRow(), 2);
        QCOMPARE(r.fakes.engine.calls.contains("MediaFile " + track(2)), step != Step::Queued);
        QCOMPARE(r.fakes.engine.file, track(2));
    }

    void changeOfMind_data()
    {
        QTest::addColumn<bool>("shuffle");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QList<int>>("told"); // the first rows told to follow once the change is made
        QTest::newRow("in order") << false << Change::None << QList<int> { 2, 3 };
        QTest::newRow("shuffle, picked at the start") << true << Change::None << QList<int>(6, 0);
        QTest::newRow("pause and resume") << false << Change::PauseAndResume << QList<int> { 2, 3 };
        QTest::newRow("file handed over") << false << Change::HandOver << QList<int> { 2, 3 };
        QTest::newRow("click on another row") << false << Change::ClickOtherRow << QList<int> { 1, 2, 3 };
        QTest::newRow("Borrar Todo") << false << Change::DeleteAll << QList<int> {};
        QTest::newRow("shuffle switched off") << true << Change::ShuffleOff << QList<int> { 2, 3 };
    }
    // Playing row 1 of four, the player tells the engine the rows the ends of tracks take next
    // (the next rows, or six rows the draw picks: 0.1 is row 0), and tells it again as
    // soon as something changes them. The first file told, once heard, is taken as its row.
    void changeOfMind()
    {
        QFETCH(bool, shuffle);
        QFETCH(Change, change);
        QFETCH(QList<int>, told);
        Rig r(4);
        r.fakes.fixedRandom = 0.1f;
        r.play(1);
        // A short file is read to its end while it is readied: what follows is told before.
        QCOMPARE(r.fakes.engine.queuedWhenStarted, (QStringList { track(2), track(3) }));
        r.state().setShuffle(shuffle);
        if (change == Change::PauseAndResume) {
            r.p.cmdPause_Click();
            r.p.cmdPause_Click();
        } else if (change == Change::ClickOtherRow) {
            clickRow(r.p, 0);
        } else if (change == Change::DeleteAll) {
            r.p.cmdDelAll_Click();
        } else if (change == Change::ShuffleOff) {
            r.p.cmdShuffle_Click();
        } else if (change == Change::HandOver) {
            const QString added = r.folder.filePath(QStringLiteral("added.mp3"));
            QVERIFY(writeFile(added, "x"));
            r.p.openFiles({ added });
        }
        QStringList paths;
        for (int row : told)
            paths << track(row);
        QCOMPARE(r.fakes.engine.queued.mid(0, paths.size()), paths);
        QCOMPARE(r.fakes.engine.queued.isEmpty(), paths.isEmpty());
        if (told.isEmpty())
            return;
        r.takeCalls();
        r.fakes.engine.queuedFileStarts();
        QVERIFY(r.fakes.engine.calls.filter(QStringLiteral("MediaFile")).isEmpty());
        QVERIFY(clockRuns(r.p));
        QCOMPARE(r.state().SongIndex(), qint16(told.first()));
        QCOMPARE(r.p.selectedRow(), told.first());
        QCOMPARE(r.state().shownSongName(), name(told.first()));
    }

    // In shuffle mode Back still needs a current track, and an empty list has nothing to
    // pick: the index is not stepped and nothing plays.
    void shuffleWithNothingToPlay()
    {
        Rig r(3);
        r.state().setShuffle(true);
        r.p.cmdBack_Click();
        QVERIFY(r.fakes.engine.calls.isEmpty());
        r.p.playlist().clear();
        r.playing(0);
        r.p.cmdForward_Click();
        QCOMPARE(r.state().SongIndex(), qint16(0));
        QVERIFY(r.fakes.engine.calls.isEmpty());
    }

    // A click makes the highlighted row current without touching the sound or the song
    // shown, whatever the index was.
    void clickAndDoubleClick()
    {
        Rig r(3);
        r.playing(0);
        clickRow(r.p, 2);
        r.state().setSongIndex(0);
        r.p.PlayList_Click();
        QCOMPARE(r.state().SongIndex(), qint16(2));
        QCOMPARE(r.state().SongPath(), track(2));
        QCOMPARE(r.state().SongName(), name(2));
        QVERIFY(r.fakes.engine.calls.isEmpty());
        QCOMPARE(r.state().shownSongName(), QStringLiteral("current.mp3"));
        QVERIFY(clockRuns(r.p));
    }

    // A double-click plays the highlighted row, but while the song shown is exactly that one
    // name it stops the sound and asks for the greeting instead, again and again.
    void doubleClick()
    {
        Rig r(3);
        r.playing(0);
        QSignalSpy greetings(&r.p, &Player::greetingWanted);
        r.state().setShownSongName(QStringLiteral("vebrolia.MP3"));
        clickRow(r.p, 1);
        r.p.PlayList_DblClick();
        QCOMPARE(r.state().SongIndex(), qint16(1));
        QCOMPARE(r.fakes.engine.file, track(1));
        QCOMPARE(r.state().shownSongName(), name(1));

        r.state().setShownSongName(QStringLiteral("Vebrolia.mp3"));
        r.takeCalls();
        r.p.PlayList_DblClick();
        r.p.PlayList_DblClick();
        QCOMPARE(r.fakes.engine.calls, (QStringList { "StopPlayback", "StopPlayback" }));
        QVERIFY(!clockRuns(r.p));
        QCOMPARE(greetings.count(), 2);
    }
};

QTEST_GUILESS_MAIN(Navigation)
#include "navigation.moc"

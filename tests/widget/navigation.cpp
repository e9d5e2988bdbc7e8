#include "windowfakes.h"
#include "files/programfolder.h"
#include "info/frmEaster.h"
#include "window.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

enum class Step { Back, Forward, End };

QString track(int row)
{
    return QStringLiteral("/m/t%1.mp3").arg(row);
}

QString name(int row)
{
    return QStringLiteral("t%1.mp3").arg(row);
}

struct Rig {
    FakePlatform fakes;
    std::unique_ptr<Player> core;
    std::unique_ptr<frmMP3> w;

    explicit Rig(int rows, std::optional<float> random = std::nullopt)
    {
        fakes.fixedRandom = random;
        core = std::make_unique<Player>(fakes.parts());
        w = std::make_unique<frmMP3>(*core, windowParts(fakes));
        QStringList paths;
        for (int row = 0; row < rows; ++row)
            paths << track(row);
        fillPlaylist(*w, paths);
    }

    PlayerState &state() { return w->player().state(); }
    bool clockRuns() const { return control<QTimer>(*core, "Timer")->isActive(); }

    // A track outside the list that has been playing for a minute and five seconds.
    void playing(qint16 index)
    {
        state().setSongIndex(index);
        state().setSongPath(QStringLiteral("/m/current.mp3"));
        state().setSongName(QStringLiteral("current.mp3"));
        state().setShownSongName(QStringLiteral("current.mp3"));
        state().setPlayback(PlayerState::Playback::Playing);
        for (int second = 0; second < 65; ++second)
            w->player().Timer_Timer();
        fakes.engine.calls.clear();
    }

    // Makes row current and plays it, as a double-click on it does.
    void play(int row)
    {
        state().setSongIndex(qint16(row));
        state().setSongPath(track(row));
        state().setSongName(name(row));
        w->player().cmdPlay_Click();
        fakes.engine.calls.clear();
    }

    void step(Step step)
    {
        switch (step) {
        case Step::Back:
            w->player().cmdBack_Click();
            break;
        case Step::Forward:
            w->player().cmdForward_Click();
            break;
        case Step::End:
            fakes.engine.endOfFile();
            break;
        }
    }

    void show()
    {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    }
    QPoint rowCentre(int row)
    {
        return playlistView(*w)->visualRect(w->player().playlist().index(row)).center();
    }
    void clickRow(int row)
    {
        QTest::mouseClick(playlistView(*w)->viewport(), Qt::LeftButton, {}, rowCentre(row));
    }
    void doubleClickRow(int row)
    {
        clickRow(row);
        QTest::mouseDClick(playlistView(*w)->viewport(), Qt::LeftButton, {}, rowCentre(row));
    }
};

} // namespace

Q_DECLARE_METATYPE(Step)

class Navigation : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.path());
    }

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
        }
    }
    // Each step either takes the row it lands on, or stops: Back and Forward zero the
    // clock, the end of a track leaves it at the time reached. Nothing wraps around.
    void stepping()
    {
        QFETCH(Step, step);
        QFETCH(int, rows);
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(bool, plays);
        Rig p(rows);
        p.playing(before);
        p.step(step);

        QCOMPARE(p.state().SongIndex(), qint16(after));
        QCOMPARE(p.fakes.engine.calls.contains("MediaFile " + track(after)), plays);
        QCOMPARE(p.clockRuns(), plays);
        if (plays) {
            QCOMPARE(p.state().SongPath(), track(after));
            QCOMPARE(p.state().SongName(), name(after));
            QCOMPARE(highlightedRow(*p.w), after);
            QCOMPARE(labelText(*p.w, "LblSongName"), name(after));
            QCOMPARE(p.fakes.engine.calls.value(0) == QLatin1String("StopPlayback"), step != Step::End);
            return;
        }
        QCOMPARE(p.fakes.engine.calls, QStringList { "StopPlayback" });
        QCOMPARE(p.state().SongPath(), QStringLiteral("/m/current.mp3"));
        QCOMPARE(labelText(*p.w, "LblSongName"), QStringLiteral("current.mp3"));
        const bool zeroed = step != Step::End;
        QCOMPARE(p.state().PlayMinutes(), qint16(zeroed ? 0 : 1));
        QCOMPARE(p.state().PlaySeconds(), qint16(zeroed ? 0 : 5));
    }

    // The index is 16 bits: a step past either end of that range leaves it as it was and
    // the handler goes on as for any index outside the list.
    void indexLimits()
    {
        Rig p(3);
        p.playing(32767);
        p.w->player().cmdForward_Click();
        p.fakes.engine.endOfFile();
        QCOMPARE(p.state().SongIndex(), qint16(32767));
        p.playing(-32768);
        p.w->player().cmdBack_Click();
        QCOMPARE(p.state().SongIndex(), qint16(-32768));
        QCOMPARE(p.fakes.engine.calls, QStringList { "StopPlayback" });
    }

    // Back needs a current track; Forward goes on without one, from the current index.
    void backNeedsATrack()
    {
        Rig p(3);
        p.w->player().cmdBack_Click();
        QVERIFY(p.fakes.engine.calls.isEmpty());
        QCOMPARE(p.state().SongIndex(), qint16(0));
        p.w->player().cmdForward_Click();
        QCOMPARE(p.state().SongIndex(), qint16(1));
        QCOMPARE(p.state().SongPath(), track(1));
    }

    // While paused a step picks the new row, but Play only resumes the file the engine
    // already holds; the end of that file goes on from the new row.
    void stepWhilePaused()
    {
        Rig p(3);
        p.play(0);
        p.w->player().cmdPause_Click();
        p.w->player().cmdForward_Click();
        QVERIFY(p.fakes.engine.calls.filter(QStringLiteral("MediaFile")).isEmpty());
        QVERIFY(p.fakes.engine.playing);
        QCOMPARE(p.fakes.engine.file, track(0));
        QVERIFY(!p.state().paused());
        QCOMPARE(labelText(*p.w, "LblSongName"), name(0));
        QCOMPARE(p.state().SongPath(), track(1));
        QCOMPARE(highlightedRow(*p.w), 1);
        p.fakes.engine.endOfFile();
        QCOMPARE(p.fakes.engine.file, track(2));
    }

    // An end of file that arrives after Pausa was on its way before it: the pause holds,
    // and the player goes on as usual from there.
    void pauseHoldsOverEndOfFile()
    {
        Rig p(3);
        p.play(0);
        p.w->player().cmdPause_Click();
        p.fakes.engine.calls.clear();
        p.fakes.engine.endOfFile();
        QVERIFY(p.fakes.engine.calls.isEmpty());
        QCOMPARE(p.state().SongIndex(), qint16(0));
        QCOMPARE(p.state().SongPath(), track(0));
        QCOMPARE(labelText(*p.w, "LblSongName"), name(0));
        QVERIFY(p.state().paused());
        QVERIFY(!p.clockRuns());

        p.w->player().cmdPlay_Click();
        QCOMPARE(p.fakes.engine.calls, QStringList { "StartPlayback" });
        QVERIFY(p.clockRuns());
        p.fakes.engine.endOfFile();
        QCOMPARE(p.fakes.engine.file, track(1));
        QCOMPARE(labelText(*p.w, "LblSongName"), name(1));
    }

    // In shuffle mode every stepping handler plays the row the draw picks (0.7 of three
    // rows is row 2) instead of stepping; Back still needs a current track.
    void shuffleOnEveryStep()
    {
        for (Step step : { Step::Back, Step::Forward, Step::End }) {
            Rig p(3, 0.7f);
            p.state().setShuffle(true);
            p.playing(0);
            p.step(step);
            QCOMPARE(p.state().SongIndex(), qint16(2));
            QCOMPARE(highlightedRow(*p.w), 2);
            QCOMPARE(p.fakes.engine.calls.value(0), "MediaFile " + track(2));
        }
        Rig p(3, 0.7f);
        p.state().setShuffle(true);
        p.w->player().cmdBack_Click();
        QVERIFY(p.fakes.engine.calls.isEmpty());
    }

    // Shuffling an empty list fails quietly: the index is not stepped and nothing plays.
    void shuffleOnEmptyList()
    {
        Rig p(0, 0.5f);
        p.state().setShuffle(true);
        p.playing(0);
        p.w->player().cmdForward_Click();
        p.fakes.engine.endOfFile();
        QCOMPARE(p.state().SongIndex(), qint16(0));
        QVERIFY(p.fakes.engine.calls.isEmpty());
    }

    // A click makes the row current without touching the sound or the labels, also a click
    // on the row already highlighted; a double-click plays it.
    void clickAndDoubleClick()
    {
        Rig p(3);
        p.playing(0);
        p.show();
        p.clickRow(2);
        QCOMPARE(p.state().SongIndex(), qint16(2));
        QCOMPARE(p.state().SongPath(), track(2));
        QCOMPARE(p.state().SongName(), name(2));
        QVERIFY(p.fakes.engine.calls.isEmpty());
        QCOMPARE(labelText(*p.w, "LblSongName"), QStringLiteral("current.mp3"));
        QVERIFY(p.clockRuns());

        p.state().setSongIndex(0);
        p.clickRow(2);
        QCOMPARE(p.state().SongIndex(), qint16(2));

        p.doubleClickRow(1);
        QCOMPARE(p.state().SongIndex(), qint16(1));
        QCOMPARE(p.fakes.engine.file, track(1));
        QCOMPARE(labelText(*p.w, "LblSongName"), name(1));
        QVERIFY(!p.w->greetingWindow());
    }

    // While the label shows exactly that one name, a double-click stops the sound and
    // opens the greeting instead of playing, again and again; another case does not.
    void greeting()
    {
        Rig p(3);
        p.playing(0);
        p.state().setShownSongName(QStringLiteral("vebrolia.MP3"));
        p.show();
        p.doubleClickRow(1);
        QVERIFY(!p.w->greetingWindow());
        QCOMPARE(p.fakes.engine.file, track(1));

        p.state().setShownSongName(QStringLiteral("Vebrolia.mp3"));
        p.fakes.engine.calls.clear();
        p.doubleClickRow(2);
        QCOMPARE(p.fakes.engine.calls, QStringList { "StopPlayback" });
        QVERIFY(!p.clockRuns());
        QPointer<frmEaster> first = p.w->greetingWindow();
        QVERIFY(first && first->isVisible());
        QCOMPARE(labelText(*p.w, "LblSongName"), QStringLiteral("Vebrolia.mp3"));
        p.doubleClickRow(0);
        QCOMPARE(p.w->greetingWindow(), first.data());
        QCOMPARE(p.fakes.engine.calls, (QStringList { "StopPlayback", "StopPlayback" }));

        click(*first, "cmdExit");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);
        p.doubleClickRow(0);
        QVERIFY(p.w->greetingWindow() && p.w->greetingWindow()->isVisible());
        delete p.w->greetingWindow();
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(Navigation)
#include "navigation.moc"

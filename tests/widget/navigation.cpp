#include "app/programfolder.h"
#include "app/tag.h"
#include "fakes.h"
#include "info/frmEaster.h"
#include "playlist/playlistbox.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
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

struct Player {
    FakePlatform fakes;
    std::unique_ptr<frmMP3> w;

    explicit Player(int rows, std::optional<float> random = std::nullopt)
    {
        fakes.fixedRandom = random;
        w = std::make_unique<frmMP3>(fakes.platform());
        for (int row = 0; row < rows; ++row)
            w->appendEntry(track(row), QStringLiteral("t%1.mp3").arg(row));
    }

    // A track that has been playing for a minute and five seconds.
    void playing(qint16 index)
    {
        w->SongIndex = index;
        w->SongPath = QStringLiteral("/m/current.mp3");
        w->SongName = QStringLiteral("current.mp3");
        w->LblSongName->setText(w->SongName);
        w->PlayMinutes = 1;
        w->PlaySeconds = 5;
        w->Timer->start();
        fakes.engine.calls.clear();
    }

    void step(Step step)
    {
        switch (step) {
        case Step::Back:
            w->cmdBack_Click();
            break;
        case Step::Forward:
            w->cmdForward_Click();
            break;
        case Step::End:
            fakes.engine.endOfFile();
            break;
        }
    }

    int highlighted() const
    {
        const QList<QListWidgetItem *> items = w->PlayList->selectedItems();
        return items.isEmpty() ? -1 : w->PlayList->row(items.first());
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
            { 0, -2, false, false },
            { 0, -1, false, false },
            { 0, 0, false, false },
            { 0, 1, false, false },
            { 1, -2, false, false },
            { 1, -1, false, true },
            { 1, 0, false, false },
            { 1, 1, true, false },
            { 1, 2, false, false },
            { 3, -2, false, false },
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
        Player p(rows);
        p.playing(before);
        p.step(step);

        QCOMPARE(p.w->SongIndex, qint16(after));
        QCOMPARE(p.fakes.engine.calls.contains(QStringLiteral("MediaFile ") + track(after)), plays);
        if (plays) {
            QCOMPARE(p.w->SongPath, track(after));
            QCOMPARE(p.w->SongName, QStringLiteral("t%1.mp3").arg(after));
            QCOMPARE(p.highlighted(), after);
            QCOMPARE(p.w->LblSongName->text(), QStringLiteral("t%1.mp3").arg(after));
            QVERIFY(p.w->Timer->isActive());
            const QString first = p.fakes.engine.calls.value(0);
            QCOMPARE(first == QLatin1String("StopPlayback"), step != Step::End);
            return;
        }
        QCOMPARE(p.fakes.engine.calls, QStringList { "StopPlayback" });
        QCOMPARE(p.w->SongPath, QStringLiteral("/m/current.mp3"));
        QCOMPARE(p.w->LblSongName->text(), QStringLiteral("current.mp3"));
        QVERIFY(!p.w->Timer->isActive());
        const bool zeroed = step != Step::End;
        QCOMPARE(p.w->PlayMinutes, qint16(zeroed ? 0 : 1));
        QCOMPARE(p.w->PlaySeconds, qint16(zeroed ? 0 : 5));
    }

    // The index is 16 bits: a step past either end of that range leaves it as it was and
    // the handler goes on as for any index outside the list.
    void indexLimits()
    {
        Player p(3);
        p.playing(32767);
        p.w->cmdForward_Click();
        QCOMPARE(p.w->SongIndex, qint16(32767));
        p.fakes.engine.endOfFile();
        QCOMPARE(p.w->SongIndex, qint16(32767));
        p.playing(-32768);
        p.w->cmdBack_Click();
        QCOMPARE(p.w->SongIndex, qint16(-32768));
        QCOMPARE(p.fakes.engine.calls, QStringList { "StopPlayback" });
        QCOMPARE(p.w->PlaySeconds, qint16(0));
    }

    // Back needs a current track; Forward goes on without one, from the current index.
    void backNeedsATrack()
    {
        Player p(3);
        p.w->cmdBack_Click();
        p.w->Back->trigger();
        QVERIFY(p.fakes.engine.calls.isEmpty());
        QCOMPARE(p.w->SongIndex, qint16(0));
        p.w->Forward->trigger();
        QCOMPARE(p.w->SongIndex, qint16(1));
        QCOMPARE(p.w->SongPath, track(1));
    }

    // Off the end and back again: two Forwards past the last row need two Backs, and the
    // second one plays the last row.
    void backFromPastTheEnd()
    {
        Player p(3);
        p.playing(2);
        p.w->cmdForward_Click();
        p.w->cmdForward_Click();
        QCOMPARE(p.w->SongIndex, qint16(4));
        p.w->cmdBack_Click();
        QCOMPARE(p.fakes.engine.calls.filter(QStringLiteral("MediaFile")), QStringList());
        p.w->cmdBack_Click();
        QCOMPARE(p.w->SongIndex, qint16(2));
        QCOMPARE(p.fakes.engine.calls.filter(QStringLiteral("MediaFile")),
            QStringList { "MediaFile " + track(2) });
    }

    // When the last track ends the clock keeps its time, and Play plays that track again.
    void endOfTheLastTrack()
    {
        Player p(3);
        p.w->selectRow(2);
        p.w->cmdPlay_Click();
        p.w->PlayMinutes = 2;
        p.w->PlaySeconds = 41;
        p.fakes.engine.calls.clear();
        p.fakes.engine.endOfFile();
        QCOMPARE(p.fakes.engine.calls, QStringList { "StopPlayback" });
        QVERIFY(!p.w->Timer->isActive());
        QCOMPARE(p.w->PlayMinutes, qint16(2));
        QCOMPARE(p.w->PlaySeconds, qint16(41));
        QCOMPARE(p.w->SongIndex, qint16(3));
        QCOMPARE(p.w->SongPath, track(2));
        p.w->cmdPlay_Click();
        QVERIFY(p.fakes.engine.calls.contains("MediaFile " + track(2)));
        QVERIFY(p.fakes.engine.playing);
    }

    // While paused a step picks the new row, but Play only resumes the file the engine
    // already holds; the end of that file goes on from the new row.
    void stepWhilePaused()
    {
        Player p(3);
        p.w->selectRow(0);
        p.w->cmdPlay_Click();
        p.w->cmdPause_Click();
        QCOMPARE(Tag(p.w->cmdPause), QStringLiteral("1"));
        p.fakes.engine.calls.clear();
        p.w->cmdForward_Click();
        QCOMPARE(p.fakes.engine.calls.filter(QStringLiteral("MediaFile")), QStringList());
        QVERIFY(p.fakes.engine.calls.contains(QStringLiteral("StartPlayback")));
        QCOMPARE(p.fakes.engine.file, track(0));
        QCOMPARE(Tag(p.w->cmdPause), QStringLiteral("0"));
        QCOMPARE(p.w->LblSongName->text(), QStringLiteral("t0.mp3"));
        QCOMPARE(p.w->SongIndex, qint16(1));
        QCOMPARE(p.w->SongPath, track(1));
        QCOMPARE(p.w->SongName, QStringLiteral("t1.mp3"));
        QCOMPARE(p.highlighted(), 1);
        p.fakes.engine.endOfFile();
        QCOMPARE(p.fakes.engine.file, track(2));
    }

    // In shuffle mode every stepping handler plays the row the draw picks (0.7 of three
    // rows is row 2) instead of stepping; Back still needs a current track.
    void shuffleOnEveryStep()
    {
        for (Step step : { Step::Back, Step::Forward, Step::End }) {
            Player p(3, 0.7f);
            setTag(p.w->cmdShuffle, QStringLiteral("1"));
            p.playing(0);
            p.step(step);
            QCOMPARE(p.w->SongIndex, qint16(2));
            QCOMPARE(p.highlighted(), 2);
            QCOMPARE(p.fakes.engine.calls.value(0), "MediaFile " + track(2));
        }
        Player p(3, 0.7f);
        setTag(p.w->cmdShuffle, QStringLiteral("1"));
        p.w->SongPath.clear();
        p.w->cmdBack_Click();
        QVERIFY(p.fakes.engine.calls.isEmpty());
    }

    // Shuffling an empty list fails quietly: the index is not stepped and nothing plays.
    void shuffleOnEmptyList()
    {
        Player p(0, 0.5f);
        setTag(p.w->cmdShuffle, QStringLiteral("1"));
        p.playing(0);
        p.w->cmdForward_Click();
        p.fakes.engine.endOfFile();
        QCOMPARE(p.w->SongIndex, qint16(0));
        QVERIFY(p.fakes.engine.calls.isEmpty());
        QVERIFY(!p.w->ShuffleIt());
    }

    // A click makes the row current without touching the sound or the labels; a
    // double-click plays it.
    void clickAndDoubleClick()
    {
        Player p(3);
        p.playing(0);
        p.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.w.get()));
        clickRow(p, 2);
        QCOMPARE(p.w->SongIndex, qint16(2));
        QCOMPARE(p.w->SongPath, track(2));
        QCOMPARE(p.w->SongName, QStringLiteral("t2.mp3"));
        QVERIFY(p.fakes.engine.calls.isEmpty());
        QCOMPARE(p.w->LblSongName->text(), QStringLiteral("current.mp3"));
        QVERIFY(p.w->Timer->isActive());

        doubleClickRow(p, 1);
        QCOMPARE(p.w->SongIndex, qint16(1));
        QCOMPARE(p.fakes.engine.file, track(1));
        QCOMPARE(p.w->LblSongName->text(), QStringLiteral("t1.mp3"));
        QVERIFY(!p.w->greetingWindow());
    }

    // A row clicked again after the program moved the index is picked up afresh.
    void clickOnTheSelectedRow()
    {
        Player p(3);
        p.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.w.get()));
        clickRow(p, 1);
        p.w->cmdForward_Click();
        p.w->cmdForward_Click();
        QCOMPARE(p.w->SongIndex, qint16(3));
        clickRow(p, 2);
        clickRow(p, 2);
        QCOMPARE(p.w->SongIndex, qint16(2));
        p.w->SongIndex = 0;
        clickRow(p, 2);
        QCOMPARE(p.w->SongIndex, qint16(2));
        QTest::keyClick(p.w->PlayList, Qt::Key_Up);
        QCOMPARE(p.w->SongIndex, qint16(1));
        QCOMPARE(p.w->SongPath, track(1));
    }

    // While the label shows exactly that one name, a double-click stops the sound and
    // opens the greeting instead of playing, again and again; another case does not.
    void greeting()
    {
        Player p(3);
        p.playing(0);
        p.w->LblSongName->setText(QStringLiteral("vebrolia.MP3"));
        p.w->show();
        QVERIFY(QTest::qWaitForWindowExposed(p.w.get()));
        doubleClickRow(p, 1);
        QVERIFY(!p.w->greetingWindow());
        QCOMPARE(p.fakes.engine.file, track(1));

        p.w->LblSongName->setText(QStringLiteral("Vebrolia.mp3"));
        p.fakes.engine.calls.clear();
        doubleClickRow(p, 2);
        QCOMPARE(p.fakes.engine.calls, QStringList { "StopPlayback" });
        QVERIFY(!p.w->Timer->isActive());
        QPointer<frmEaster> first = p.w->greetingWindow();
        QVERIFY(first && first->isVisible());
        QCOMPARE(p.w->LblSongName->text(), QStringLiteral("Vebrolia.mp3"));
        doubleClickRow(p, 0);
        QCOMPARE(p.w->greetingWindow(), first.data());
        QCOMPARE(p.fakes.engine.calls, (QStringList { "StopPlayback", "StopPlayback" }));

        QTest::mouseClick(first->cmdExit, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);
        QVERIFY(!p.w->greetingWindow());
        doubleClickRow(p, 0);
        QVERIFY(p.w->greetingWindow() && p.w->greetingWindow()->isVisible());
        delete p.w->greetingWindow();
    }

private:
    static QPoint rowCentre(Player &p, int row)
    {
        return p.w->PlayList->visualItemRect(p.w->PlayList->item(row)).center();
    }
    static void clickRow(Player &p, int row)
    {
        QTest::mouseClick(p.w->PlayList->viewport(), Qt::LeftButton, {}, rowCentre(p, row));
    }
    static void doubleClickRow(Player &p, int row)
    {
        clickRow(p, row);
        QTest::mouseDClick(p.w->PlayList->viewport(), Qt::LeftButton, {}, rowCentre(p, row));
    }

    QTemporaryDir m_folder;
};

QTEST_MAIN(Navigation)
#include "navigation.moc"

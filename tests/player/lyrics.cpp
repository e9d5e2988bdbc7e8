#include "playertest.h"

#include <QtTest>

namespace {

// A player that remembers the sung line it last signalled.
struct Rig : PlayerRig {
    std::optional<qsizetype> marked;

    Rig()
    {
        QObject::connect(
            &p, &Player::sungLineChanged, [this](std::optional<qsizetype> line) { marked = line; });
    }
    // Whether the player asks the engine where the track stands within ms milliseconds.
    bool askedWithin(int ms)
    {
        const int before = fakes.engine.positionQueries;
        QTest::qWait(ms);
        return fakes.engine.positionQueries != before;
    }
};

} // namespace

class Lyrics : public QObject {
    Q_OBJECT
private slots:
    // A .lrc gives its lines without tags, and while the track plays and the lyrics show the
    // line at the engine's position is marked; a pause keeps the mark and stops asking, a
    // stop clears it, and the track played again starts over from its first line.
    void timedLyricsFollowThePosition()
    {
        Rig r;
        writeLyrics(QStringLiteral("a.lrc"), "[ti:Tema]\n[00:01.00]uno\n[00:02.00]dos\n[00:03.00]tres\n");
        r.p.setLyricsShown(true);
        FakeEngine &engine = r.fakes.engine;
        engine.position = 0.5;
        r.state().setSongPath(QStringLiteral("/m/a.mp3"));
        r.state().setSongName(QStringLiteral("a.mp3"));
        r.p.cmdPlay_Click();
        QCOMPARE(r.p.lyrics(), QStringLiteral("uno\ndos\ntres\n"));
        QTRY_VERIFY(engine.positionQueries > 0);
        QVERIFY(!r.marked);
        engine.position = 2.5;
        QTRY_COMPARE(r.marked, qsizetype(1));

        r.p.cmdPause_Click();
        QVERIFY(!r.askedWithin(600));
        QCOMPARE(r.marked, qsizetype(1));
        engine.position = 3.5;
        r.p.cmdPause_Click();
        QTRY_COMPARE(r.marked, qsizetype(2));

        r.p.cmdStop_Click();
        QVERIFY(!r.marked);
        QVERIFY(!r.askedWithin(600));

        engine.position = 1.2;
        r.p.cmdPlay_Click();
        QTRY_COMPARE(r.marked, qsizetype(0));
    }

    // The engine is never asked while the lyrics are hidden, nor for a track whose lyrics
    // have no times: a .txt beside the .lrc wins, and a track with no lyrics shows and
    // follows nothing even after one that had.
    void noQuestionsWithNothingToMark()
    {
        Rig r;
        writeLyrics(QStringLiteral("timed.lrc"), "[00:00.00]uno\n");
        writeLyrics(QStringLiteral("both.lrc"), "[00:00.00]con tiempo\n");
        writeLyrics(QStringLiteral("both.txt"), "sin tiempo");
        r.fakes.engine.position = 0.5;
        fillPlaylist(r.p, { "/m/timed.mp3", "/m/both.mp3", "/m/plain.mp3" });
        clickRow(r.p, 0);
        r.p.cmdPlay_Click();
        QVERIFY(!r.askedWithin(600));
        r.p.setLyricsShown(true);
        QTRY_COMPARE(r.marked, qsizetype(0));
        r.p.setLyricsShown(false);
        QVERIFY(!r.askedWithin(600));
        r.p.setLyricsShown(true);

        r.p.cmdForward_Click();
        QCOMPARE(r.p.lyrics(), QStringLiteral("sin tiempo"));
        QVERIFY(!r.askedWithin(600));
        r.fakes.engine.endOfFile();
        QCOMPARE(r.state().SongIndex(), qint16(2));
        QCOMPARE(r.p.lyrics(), QString());
        QVERIFY(!r.askedWithin(600));
    }
};

QTEST_GUILESS_MAIN(Lyrics)
#include "lyrics.moc"

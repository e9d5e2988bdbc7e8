#include "playertest.h"

#include <QtTest>

namespace {

struct Rig : PlayerRig {
    Rig() { fillPlaylist(p, { "/m/t0.mp3", "/m/t1.mp3", "/m/t2.mp3", "/m/t3.mp3", "/m/t4.mp3" }); }
};

} // namespace

class Removing : public QObject {
    Q_OBJECT
private slots:
    // The highlighted entry goes and nothing stays highlighted, so a second press removes
    // nothing; the current track is forgotten.
    void highlightedEntryGoes()
    {
        Rig r;
        clickRow(r.p, 2);
        r.p.cmdPlay_Click();
        r.p.cmdDelete_Click();
        QCOMPARE(r.p.playlist().names(), (QStringList { "t0.mp3", "t1.mp3", "t3.mp3", "t4.mp3" }));
        QCOMPARE(r.p.playlist().pathAt(2), QStringLiteral("/m/t3.mp3"));
        QCOMPARE(r.state().SongIndex(), qint16(0));
        QCOMPARE(r.state().SongPath(), QString());
        QCOMPARE(r.state().shownSongName(), QString());
        QCOMPARE(r.p.selectedRow(), -1);
        r.p.cmdDelete_Click();
        QCOMPARE(r.p.playlist().count(), 4);
    }

    // The search starts at the current index: an entry above it needs a second press.
    void entryAboveTheIndexNeedsTwoPresses()
    {
        Rig r;
        clickRow(r.p, 1);
        r.state().setSongIndex(3);
        r.p.cmdDelete_Click();
        QCOMPARE(r.p.playlist().count(), 5);
        QCOMPARE(r.state().SongIndex(), qint16(0));
        QCOMPARE(r.state().SongPath(), QString());
        r.p.cmdDelete_Click();
        QCOMPARE(r.p.playlist().names(), (QStringList { "t0.mp3", "t2.mp3", "t3.mp3", "t4.mp3" }));
    }

    void nothingToRemove_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("index");
        QTest::newRow("none selected") << 5 << 1;
        QTest::newRow("index past the end") << 5 << 7;
        QTest::newRow("index below 0") << 5 << -1;
        QTest::newRow("empty list") << 0 << 4;
    }
    // With nothing highlighted, or an index outside the list, nothing is removed but the
    // current track is forgotten and the index goes to 0.
    void nothingToRemove()
    {
        QFETCH(int, rows);
        QFETCH(int, index);
        Rig r;
        if (rows == 0)
            r.p.playlist().clear();
        r.state().setSongIndex(index);
        r.state().setSongPath(QStringLiteral("/m/t1.mp3"));
        r.state().setShownSongName(QStringLiteral("t1.mp3"));
        r.p.cmdDelete_Click();
        QCOMPARE(r.p.playlist().count(), rows);
        QCOMPARE(r.state().SongIndex(), qint16(0));
        QCOMPARE(r.state().SongPath(), QString());
        QCOMPARE(r.state().shownSongName(), QString());
    }

    // "Borrar Todo" empties the list and forgets the path and the song shown, keeps the
    // index and the name, and lets the sound play on.
    void removeAll()
    {
        Rig r;
        r.state().setSongIndex(3);
        r.state().setSongPath(QStringLiteral("/m/t3.mp3"));
        r.state().setSongName(QStringLiteral("t3.mp3"));
        r.p.cmdPlay_Click();
        r.takeCalls();
        r.p.cmdDelAll_Click();
        QCOMPARE(r.p.playlist().count(), 0);
        QCOMPARE(r.state().SongPath(), QString());
        QCOMPARE(r.state().shownSongName(), QString());
        QCOMPARE(r.state().SongIndex(), qint16(3));
        QCOMPARE(r.state().SongName(), QStringLiteral("t3.mp3"));
        QVERIFY(r.fakes.engine.calls.isEmpty());
        QCOMPARE(r.state().playback(), PlayerState::Playback::Playing);
    }

    // On an empty list "Borrar Todo" leaves even the song shown and the path alone.
    void removeAllOfNothing()
    {
        PlayerRig r;
        r.state().setShownSongName(QStringLiteral("t1.mp3"));
        r.state().setSongPath(QStringLiteral("/m/t1.mp3"));
        r.p.cmdDelAll_Click();
        QCOMPARE(r.state().shownSongName(), QStringLiteral("t1.mp3"));
        QCOMPARE(r.state().SongPath(), QStringLiteral("/m/t1.mp3"));
    }
};

QTEST_GUILESS_MAIN(Removing)
#include "removing.moc"

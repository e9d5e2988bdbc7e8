#include "app/widgetstyle.h"
#include "extras/frmLyrics.h"
#include "windowfakes.h"
#include "files/programfolder.h"
#include "window.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList tracks(int rows)
{
    QStringList paths;
    for (int row = 0; row < rows; ++row)
        paths << QStringLiteral("/m/t%1.mp3").arg(row);
    return paths;
}

QColor shuffleColour(const frmMP3 &w)
{
    return faceColour(control<QPushButton>(w, "cmdShuffle"));
}

} // namespace

class Shuffle : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.path());
    }

    // Switching the mode on turns the button red and plays the drawn row at once, leaving
    // the list's order alone; switching it off turns it grey and lets the track play on.
    void switchOnAndOff()
    {
        FakePlatform fakes;
        fakes.fixedRandom = 0.35f;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        fillPlaylist(w, tracks(10));
        click(w, "cmdShuffle");
        QVERIFY(w.player().state().shuffle());
        QCOMPARE(shuffleColour(w), QColor(255, 0, 0));
        QCOMPARE(w.player().state().SongIndex(), qint16(3));
        QCOMPARE(highlightedRow(w), 3);
        QCOMPARE(w.player().state().SongName(), QStringLiteral("t3.mp3"));
        QCOMPARE(fakes.engine.file, QStringLiteral("/m/t3.mp3"));
        QVERIFY(fakes.engine.playing);
        QStringList order;
        for (int row = 0; row < w.player().playlist().count(); ++row)
            order << w.player().playlist().pathAt(row);
        QCOMPARE(order, tracks(10));

        fakes.engine.calls.clear();
        click(w, "cmdShuffle");
        QVERIFY(!w.player().state().shuffle());
        QCOMPARE(shuffleColour(w), QColor(192, 192, 192));
        QVERIFY(fakes.engine.calls.isEmpty());
        QCOMPARE(w.player().state().SongIndex(), qint16(3));
        delete w.existingLyricsWindow();
    }

    // On an empty list the mode still switches on, and nothing plays.
    void switchOnWithNothingToPlay()
    {
        FakePlatform fakes;
        fakes.fixedRandom = 0.5f;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        w.player().cmdShuffle_Click();
        QVERIFY(w.player().state().shuffle());
        QCOMPARE(shuffleColour(w), QColor(255, 0, 0));
        QVERIFY(fakes.engine.calls.isEmpty());
        QVERIFY(w.player().state().SongPath().isEmpty());
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(Shuffle)
#include "shuffle.moc"

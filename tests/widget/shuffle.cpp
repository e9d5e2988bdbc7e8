#include "app/programfolder.h"
#include "app/tag.h"
#include "app/widgetstyle.h"
#include "fakes.h"
#include "playlist/playlistbox.h"

#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class Shuffle : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.path());
    }

    // Switching the mode on turns the button red and plays the drawn row at once;
    // switching it off turns it grey and lets the track play on.
    void switchOnAndOff()
    {
        FakePlatform fakes;
        fakes.fixedRandom = 0.35f;
        frmMP3 w(fakes.platform());
        fill(w, 10);
        QTest::mouseClick(w.cmdShuffle, Qt::LeftButton);
        QCOMPARE(Tag(w.cmdShuffle), QStringLiteral("1"));
        QCOMPARE(faceColour(w.cmdShuffle), QColor(255, 0, 0));
        QCOMPARE(w.SongIndex, qint16(3));
        QCOMPARE(w.PlayList->currentRow(), 3);
        QVERIFY(w.PlayList->item(3)->isSelected());
        QCOMPARE(w.SongPath, QStringLiteral("/m/t3.mp3"));
        QCOMPARE(w.SongName, QStringLiteral("t3.mp3"));
        QCOMPARE(fakes.engine.file, QStringLiteral("/m/t3.mp3"));
        QVERIFY(fakes.engine.playing);

        fakes.engine.calls.clear();
        w.cmdShuffle_Click();
        QCOMPARE(Tag(w.cmdShuffle), QStringLiteral("0"));
        QCOMPARE(faceColour(w.cmdShuffle), QColor(192, 192, 192));
        QVERIFY(fakes.engine.calls.isEmpty());
        QCOMPARE(w.SongIndex, qint16(3));
    }

    // On an empty list the mode still switches on, and nothing plays.
    void switchOnWithNothingToPlay()
    {
        FakePlatform fakes;
        fakes.fixedRandom = 0.5f;
        frmMP3 w(fakes.platform());
        w.cmdShuffle_Click();
        QCOMPARE(Tag(w.cmdShuffle), QStringLiteral("1"));
        QCOMPARE(faceColour(w.cmdShuffle), QColor(255, 0, 0));
        QVERIFY(fakes.engine.calls.isEmpty());
        QCOMPARE(w.SongPath, QString());
    }

    // A pick is floor(r x n), chosen with repetition; the lists keep their order.
    void picks_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<float>("r");
        QTest::addColumn<int>("row");
        QTest::newRow("one entry, high draw") << 1 << 0.99f << 0;
        QTest::newRow("three entries, 0.7") << 3 << 0.7f << 2;
        QTest::newRow("three entries, 0") << 3 << 0.0f << 0;
        QTest::newRow("largest draw below 1") << 3 << 0.99999994f << 2;
    }
    void picks()
    {
        QFETCH(int, rows);
        QFETCH(float, r);
        QFETCH(int, row);
        FakePlatform fakes;
        fakes.fixedRandom = r;
        frmMP3 w(fakes.platform());
        fill(w, rows);
        QVERIFY(w.ShuffleIt());
        QVERIFY(w.ShuffleIt());
        QCOMPARE(w.SongIndex, qint16(row));
        QCOMPARE(fakes.engine.calls.filter(QStringLiteral("MediaFile")),
            QStringList(2, QStringLiteral("MediaFile /m/t%1.mp3").arg(row)));
        for (int i = 0; i < rows; ++i)
            QCOMPARE(w.nameAt(i), QStringLiteral("t%1.mp3").arg(i));
    }

    // Left to the clock, every pick lands inside the list.
    void clockPicks()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fill(w, 4);
        for (int i = 0; i < 200; ++i) {
            QVERIFY(w.ShuffleIt());
            QVERIFY(w.SongIndex >= 0 && w.SongIndex < 4);
        }
    }

private:
    static void fill(frmMP3 &w, int rows)
    {
        for (int row = 0; row < rows; ++row)
            w.appendEntry(QStringLiteral("/m/t%1.mp3").arg(row), QStringLiteral("t%1.mp3").arg(row));
    }

    QTemporaryDir m_folder;
};

QTEST_MAIN(Shuffle)
#include "shuffle.moc"

#include "playlist/playlistmodel.h"

#include <QSignalSpy>
#include <QtTest>

class PlaylistModelTest : public QObject {
    Q_OBJECT
private slots:
    // A batch goes in with one insertion, as much of it as fits in 32767 rows, and the
    // append reports false when some of it did not fit.
    void batchAppendStopsAtCapacity()
    {
        PlaylistModel model;
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QVERIFY(model.append(QStringList(32765, "/m/x.mp3"), QStringList(32765, "x.mp3")));
        QCOMPARE(inserted.count(), 1);
        QVERIFY(!model.append({ "/m/a.mp3", "/m/b.mp3", "/m/c.mp3" }, { "a.mp3", "b.mp3", "c.mp3" }));
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(inserted.last().at(1).toInt(), 32765);
        QCOMPARE(inserted.last().at(2).toInt(), 32766);
        QCOMPARE(model.count(), 32767);
        QCOMPARE(model.nameAt(32766), QStringLiteral("b.mp3"));
        QVERIFY(!model.append("/m/d.mp3", "d.mp3"));
        QCOMPARE(inserted.count(), 2);
    }

    // A row outside the list reads as "", and a view is shown each row's path.
    void reads()
    {
        PlaylistModel model;
        model.append("/m/a.mp3", "a.mp3");
        QCOMPARE(model.data(model.index(0)).toString(), QStringLiteral("/m/a.mp3"));
        for (int row : { -1, 1, 32767 }) {
            QCOMPARE(model.pathAt(row), QString());
            QCOMPARE(model.nameAt(row), QString());
        }
    }
};

QTEST_GUILESS_MAIN(PlaylistModelTest)
#include "playlistmodel.moc"

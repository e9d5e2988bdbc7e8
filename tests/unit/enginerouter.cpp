#include "playback/enginerouter.h"
#include "fakes.h"

#include <QSignalSpy>
#include <QTest>

class EngineRouterTest : public QObject {
    Q_OBJECT

private slots:
    // What is named picks the engine that plays it and stops the other; only the one picked is
    // heard from, a change of engine tells of the tags changing, and the files to follow end
    // before the first address.
    void routesByWhatIsNamed()
    {
        FakeEngine files;
        FakeEngine streams;
        EngineRouter router(&files, &streams);
        QSignalSpy ended(&router, &MediaEngine::PlaybackEnded);
        QSignalSpy retagged(&router, &MediaEngine::TagsChanged);
        const QString radio = QStringLiteral("http://radio.example/live");
        streams.tags.station = QStringLiteral("Radio");
        QVERIFY(router.MediaFile(radio) && router.StartPlayback());
        QVERIFY(streams.playing && !files.playing);
        QCOMPARE(retagged.count(), 1);
        emit files.PlaybackEnded(0);
        QCOMPARE(ended.count(), 0);
        QVERIFY(router.MediaFile(QStringLiteral("/music/a.mp3")) && router.StartPlayback());
        QVERIFY(files.playing && !streams.playing);
        router.QueueNext({ QStringLiteral("/music/b.mp3"), radio, QStringLiteral("/music/c.mp3") });
        QCOMPARE(files.queued, QStringList { QStringLiteral("/music/b.mp3") });
        QCOMPARE(retagged.count(), 2);
    }
};

QTEST_GUILESS_MAIN(EngineRouterTest)
#include "enginerouter.moc"

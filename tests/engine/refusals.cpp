#include "mediafiles.h"
#include "playback/gstreamer/gstengine.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// Files the engine cannot play fail at once, leave nothing behind that could reach the
// player later, and do not spoil the next good file.
class EngineRefusals : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_good;
    std::unique_ptr<GstEngine> m_engine;

    QString randomBytes()
    {
        QByteArray noise(4096, Qt::Uninitialized);
        QRandomGenerator generator(7);
        for (char &byte : noise)
            byte = char(generator.bounded(256));
        return mediafiles::bytes(QDir(m_dir.path()), QStringLiteral("noise.mp3"), noise);
    }

    QString fifo()
    {
        const QString path = QDir(m_dir.path()).filePath(QStringLiteral("pipe.wav"));
        return mediafiles::run(QStringLiteral("mkfifo"), { path }) ? path : QString();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_good = mediafiles::wav(QDir(m_dir.path()), QStringLiteral("good.wav"), 0.5, 440);
        QVERIFY(!m_good.isEmpty());
    }

    void init() { m_engine = std::make_unique<GstEngine>(QStringLiteral("fakesink sync=true")); }
    void cleanup() { m_engine.reset(); }

    // With no file named there is nothing to start, pause, measure or seek.
    void nothingNamedCannotStart()
    {
        QVERIFY(!m_engine->StartPlayback());
        QVERIFY(!m_engine->PausePlayback());
        QVERIFY(m_engine->StopPlayback());
        QVERIFY(!m_engine->MediaLength().has_value());
        QVERIFY(!m_engine->Seek(1.0));
    }

    void badFileFailsAndTheNextFilePlays_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << QDir(m_dir.path()).filePath(QStringLiteral("missing.mp3"));
        QTest::newRow("empty") << mediafiles::bytes(QDir(m_dir.path()), QStringLiteral("empty.mp3"), {});
        QTest::newRow("random bytes") << randomBytes();
        QTest::newRow("folder") << m_dir.path();
        QTest::newRow("fifo") << fifo();
        QTest::newRow("device") << QStringLiteral("/dev/zero");
    }

    // A bad file cannot be started, and whatever GStreamer said about it never reaches the
    // player as an end of file: the good file after it ends exactly once, at its own end.
    void badFileFailsAndTheNextFilePlays()
    {
        QFETCH(QString, path);
        QVERIFY(!path.isEmpty());
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        m_engine->MediaFile(path);
        QVERIFY(!m_engine->StartPlayback());
        QVERIFY(!m_engine->MediaLength().has_value());
        QCoreApplication::processEvents();
        QCOMPARE(ended.count(), 0);

        QVERIFY(m_engine->MediaFile(m_good));
        QVERIFY(m_engine->StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 15000);
        QVERIFY(m_engine->MediaFile(m_good));
        QVERIFY(m_engine->StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, 15000);
    }

    // Naming a bad file ends the one that was playing, so its name and its sound never part.
    void badFileAfterAGoodOneLeavesNothingPlaying()
    {
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        QVERIFY(m_engine->MediaFile(m_good));
        QVERIFY(m_engine->StartPlayback());
        QVERIFY(!m_engine->MediaFile(QDir(m_dir.path()).filePath(QStringLiteral("missing.wav"))));
        QVERIFY(!m_engine->StartPlayback());
        QVERIFY(!m_engine->Position().has_value());
        QVERIFY(m_engine->MediaFile(m_good));
        QVERIFY(m_engine->StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 15000);
    }
};

QTEST_GUILESS_MAIN(EngineRefusals)
#include "refusals.moc"

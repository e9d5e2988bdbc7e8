#include "mediafiles.h"
#include "playback/gstreamer/gstengine.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

// Two halves of one tone, the second queued while the first plays, written out sample by
// sample as the engine plays them.
class EngineGapless : public QObject {
    Q_OBJECT

private:
    static constexpr int rate = 48000;
    static constexpr int frequency = 1000;
    static constexpr int toneSamples = 72000;
    // Not a whole number of any codec's frames, nor of the tone's periods.
    static constexpr int split = 24007;
    // ffmpeg's tone, an eighth of full scale.
    static constexpr int amplitude = 4096;

    QTemporaryDir m_dir;

    static int longestQuiet(const qint16 *samples, int count)
    {
        int longest = 0;
        for (int i = 0, run = 0; i < count; ++i) {
            run = std::abs(samples[i]) < amplitude / 20 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        return longest;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void halvesJoinWithoutAMissingOrExtraSample_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : { "wav", "flac", "ogg", "opus" })
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    // The second half follows the first with nothing lost, nothing added and no silence at
    // the joint; the engine tells when it is heard, and ends once, after it.
    void halvesJoinWithoutAMissingOrExtraSample()
    {
        QFETCH(QString, kind);
        const QDir dir(m_dir.path());
        const QStringList halves = mediafiles::splitTone(dir, kind, frequency, split, toneSamples);
        QVERIFY(!halves.contains(QString()));
        QFile file(dir.filePath(kind + QStringLiteral(".raw")));
        QVERIFY(file.open(QIODevice::ReadWrite));
        // The mono tone reaches the output in stereo; it is written out in mono again.
        GstEngine engine(QStringLiteral("audioconvert ! audio/x-raw,format=S16LE,channels=1 ! fdsink fd=%1")
                             .arg(file.handle()));
        engine.QueueNext({ halves.value(1) });
        QSignalSpy started(&engine, &MediaEngine::QueuedFileStarted);
        std::optional<double> length;
        connect(&engine, &MediaEngine::QueuedFileStarted, &engine, [&] { length = engine.MediaLength(); });
        QSignalSpy ended(&engine, &MediaEngine::PlaybackEnded);
        QVERIFY(engine.MediaFile(halves.value(0)));
        QVERIFY(engine.StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 15000);
        QCOMPARE(started.count(), 1);
        QVERIFY(length && std::abs(*length - double(toneSamples - split) / rate) < 0.01);

        QVERIFY(file.seek(0));
        const QByteArray played = file.readAll();
        const auto *samples = reinterpret_cast<const qint16 *>(played.constData());
        QCOMPARE(played.size() / 2, toneSamples);
        QVERIFY(longestQuiet(samples, toneSamples) < rate / 500);
    }

    void whatFollowsTheJoint_data()
    {
        QTest::addColumn<QStringList>("next");
        QTest::addColumn<int>("samples"); // what the sink takes of all files; < 0: then untold
        // A mono tone of 1 s at 44.1 kHz, played in stereo, is followed by 0.5 s of stereo at
        // 44.1 kHz and 0.5 s at 48 kHz, by a text file named as an MP3, or by a file the player
        // stopped telling once it was handed over.
        QTest::newRow("richer formats") << QStringList { "stereo.wav", "48k.wav" } << 88200 + 44100 + 48000;
        QTest::newRow("cannot be played") << QStringList { "text.mp3" } << 88200;
        QTest::newRow("no longer told") << QStringList { "stereo.wav" } << -88200;
    }
    // The first file plays to its last sample whatever follows; a file that cannot be played or
    // is no longer wanted is never heard, and the end is raised instead; each file of a higher
    // rate is played at its own.
    void whatFollowsTheJoint()
    {
        QFETCH(QStringList, next);
        QFETCH(int, samples);
        const QDir dir(m_dir.path());
        const auto tone = [&dir](const char *name, int rate, int channels, double seconds) {
            return mediafiles::ffmpeg(dir, QLatin1String(name),
                QStringLiteral("-f lavfi -i sine=f=500:r=%1:d=%2 -ac %3")
                    .arg(rate)
                    .arg(seconds)
                    .arg(channels)
                    .split(u' '));
        };
        const QString first = tone("mono.wav", 44100, 1, 1);
        QVERIFY(!first.isEmpty() && !tone("stereo.wav", 44100, 2, 0.5).isEmpty());
        QVERIFY(!tone("48k.wav", 48000, 2, 0.5).isEmpty());
        QVERIFY(!mediafiles::bytes(dir, QStringLiteral("text.mp3"), "no sound here").isEmpty());
        QTemporaryFile file;
        QVERIFY(file.open());
        GstEngine engine(QStringLiteral("audioconvert ! audio/x-raw,format=S16LE ! fdsink sync=true fd=%1")
                             .arg(file.handle()));
        QSignalSpy started(&engine, &MediaEngine::QueuedFileStarted);
        QSignalSpy ended(&engine, &MediaEngine::PlaybackEnded);
        QStringList paths;
        for (const QString &name : next)
            paths << dir.filePath(name);
        engine.QueueNext(paths);
        QVERIFY(engine.MediaFile(first) && engine.StartPlayback());
        if (samples < 0) {
            QTRY_VERIFY(engine.Position().value_or(0) > 0.8);
            engine.QueueNext({});
        }
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 10000);
        QCOMPARE(started.count(), samples > 88200 ? next.size() : 0);
        QCOMPARE(file.size() / 2, qint64(std::abs(samples)));
    }
};

QTEST_GUILESS_MAIN(EngineGapless)
#include "gapless.moc"

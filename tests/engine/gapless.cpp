#include "mediafiles.h"
#include "playback/gstreamer/gstengine.h"

#include <QSignalSpy>
#include <QTemporaryDir>
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
        GstEngine engine(
            QStringLiteral("audioconvert ! audio/x-raw,format=S16LE ! fdsink fd=%1").arg(file.handle()));
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
};

QTEST_GUILESS_MAIN(EngineGapless)
#include "gapless.moc"

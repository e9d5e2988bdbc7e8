#include "mediafiles.h"
#include "playback/gstreamer/gstengine.h"
#include "playback/gstreamer/startup.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <limits>
#include <memory>
#include <thread>

// Real files through the real engine, played on a sink that keeps time like a sound card
// but needs no sound server.
class EnginePlayback : public QObject {
    Q_OBJECT

private:
    static constexpr double fileSeconds = 1.5;
    static constexpr int endTimeoutMs = 15000;
    // Long enough that an end within a few seconds of a seek came from the seek.
    static constexpr double longSeconds = 20;

    QTemporaryDir m_dir;
    QString m_wav, m_mp3, m_bareMp3, m_vbrMp3, m_midi, m_mpg, m_long;
    QStringList m_newer; // one file of each newer kind, named by its extension
    std::unique_ptr<GstEngine> m_engine;

    bool waitUntilPlayedPast(double seconds)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < endTimeoutMs) {
            if (m_engine->Position().value_or(0) >= seconds)
                return true;
            QTest::qWait(10);
        }
        return false;
    }

    // Keeps the UI thread busy, as a slow handler would, until the file has played out,
    // so that its end is already on its way when the test goes on.
    void blockUntilPlayedOut(double length)
    {
        QElapsedTimer clock;
        clock.start();
        while (m_engine->Position().value_or(0) < length - 0.05 && clock.elapsed() < endTimeoutMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QDir dir(m_dir.path());
        m_wav = mediafiles::wav(dir, QStringLiteral("tone.wav"), fileSeconds, 330);
        m_mp3 = mediafiles::mp3(dir, QStringLiteral("tone.mp3"), fileSeconds, 550, true);
        m_bareMp3 = mediafiles::mp3(dir, QStringLiteral("bare.mp3"), fileSeconds, 550, false);
        m_midi = mediafiles::midi(dir, QStringLiteral("note.mid"), fileSeconds, 69);
        m_mpg = mediafiles::mpg(dir, QStringLiteral("clip.mpg"), fileSeconds, 880);
        m_long = mediafiles::wav(dir, QStringLiteral("long.wav"), longSeconds, 330);
        // Silent for four seconds, then loud for eight, so that the bit rate of its first frames
        // says nothing of the rest.
        m_vbrMp3 = mediafiles::ffmpeg(dir, QStringLiteral("vbr.mp3"),
            QStringLiteral("-f lavfi -i anoisesrc=d=8:a=0.5,adelay=4s:all=1 -q:a 2 -write_xing 0")
                .split(QLatin1Char(' ')));
        for (const char *kind : { "flac", "ogg", "opus", "m4a", "aac", "wma" })
            m_newer << mediafiles::encoded(
                dir, QStringLiteral("tone.") + QLatin1String(kind), fileSeconds, 440);
        for (const QString &path :
            QStringList { m_wav, m_mp3, m_bareMp3, m_vbrMp3, m_midi, m_mpg, m_long } + m_newer)
            QVERIFY2(!path.isEmpty(), "a test file could not be made");
    }

    void init() { m_engine = std::make_unique<GstEngine>(QStringLiteral("fakesink sync=true")); }
    void cleanup() { m_engine.reset(); }

    void seekMovesPlaybackWhilePlayingAndPaused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("wav") << m_wav;
        QTest::newRow("mp3") << m_mp3;
        QTest::newRow("mp3 without length header") << m_bareMp3;
        QTest::newRow("mpg") << m_mpg;
        for (const QString &path : m_newer)
            QTest::newRow(qPrintable(QFileInfo(path).suffix())) << path;
    }

    // A seek moves the playing file forward and back (a time before its start is its start)
    // and it plays on from there; a paused file moves and stays paused until resumed.
    void seekMovesPlaybackWhilePlayingAndPaused()
    {
        QFETCH(QString, path);
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        const auto isAt = [this](double seconds, double slack) {
            const double position = m_engine->Position().value_or(-1);
            return position > seconds - 0.05 && position < seconds + slack;
        };
        QVERIFY(m_engine->MediaFile(path) && m_engine->StartPlayback() && m_engine->CanSeek());
        QVERIFY(m_engine->Seek(1.0) && isAt(1.0, 0.4));
        QVERIFY(m_engine->Seek(-1.0) && isAt(0, 0.4));
        QVERIFY(waitUntilPlayedPast(0.5));

        QVERIFY(m_engine->PausePlayback());
        QVERIFY(m_engine->Seek(1.2) && isAt(1.2, 0.05));
        QVERIFY(m_engine->Seek(0.2) && !ended.wait(300) && isAt(0.2, 0.05));
        QVERIFY(m_engine->StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, endTimeoutMs);
    }

    void seekPastTheEndEndsTheFileOnce_data()
    {
        QTest::addColumn<bool>("paused");
        QTest::addColumn<double>("seconds");
        QTest::newRow("playing") << false << longSeconds + 5;
        QTest::newRow("paused") << true << longSeconds + 5;
        // The furthest the desktop's media controls can ask for, in microseconds.
        QTest::newRow("as far as can be asked") << false << double(std::numeric_limits<qint64>::max()) / 1e6;
    }

    // A seek past the end ends the file at once, and once, as its own end would; while paused
    // that end waits for the resume.
    void seekPastTheEndEndsTheFileOnce()
    {
        QFETCH(bool, paused);
        QFETCH(double, seconds);
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        QVERIFY(m_engine->MediaFile(m_long) && m_engine->StartPlayback());
        QVERIFY(!paused || m_engine->PausePlayback());
        QVERIFY(m_engine->Seek(seconds));
        QVERIFY(!paused || (!ended.wait(500) && m_engine->StartPlayback()));
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, int(longSeconds * 1000) / 2);
        QVERIFY(!ended.wait(500));
    }

    // A seek with the next file already on its way loads the file heard afresh; when that file
    // is gone (renamed, unmounted), the seek fails and the file ends, as at its own end.
    void seekThatCannotReloadEndsTheFile()
    {
        const QString heard = m_dir.filePath(QStringLiteral("gone.wav"));
        QVERIFY(QFile::copy(m_wav, heard));
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        m_engine->QueueNext({ m_long });
        QVERIFY(m_engine->MediaFile(heard) && m_engine->StartPlayback());
        QTRY_VERIFY(m_engine->Position().value_or(0) > fileSeconds - 0.3);
        QVERIFY(QFile::rename(heard, heard + QStringLiteral(".moved")));
        QVERIFY(!m_engine->Seek(0.2));
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 2000);
    }

    // A stopped file and a MIDI file (whose synthesised sound GStreamer cannot seek) have
    // nothing to seek.
    void stoppedOrMidiCannotSeek()
    {
        QVERIFY(m_engine->MediaFile(m_wav) && m_engine->StartPlayback() && m_engine->StopPlayback());
        QVERIFY(!m_engine->CanSeek() && !m_engine->Seek(1.0));
        QVERIFY(m_engine->MediaFile(m_midi) && m_engine->StartPlayback());
        QVERIFY(!m_engine->CanSeek() && !m_engine->Seek(1.0));
    }

    void eachFormatIsMeasuredAtStartAndEndsOnce_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("wav") << m_wav << 0.1;
        QTest::newRow("mp3") << m_mp3 << 0.1;
        QTest::newRow("mp3 without length header") << m_bareMp3 << 0.1;
        QTest::newRow("midi") << m_midi << 0.1;
        QTest::newRow("mpg") << m_mpg << 1.0;
        for (const QString &path : m_newer)
            QTest::newRow(qPrintable(QFileInfo(path).suffix())) << path << 0.1;
    }

    // The length is known as soon as the start returns, and the end of the file is raised
    // once: the next file's end is the second event, not a repeat of the first.
    void eachFormatIsMeasuredAtStartAndEndsOnce()
    {
        QFETCH(QString, path);
        QFETCH(double, tolerance);
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        QVERIFY(m_engine->MediaFile(path));
        QVERIFY(m_engine->StartPlayback());
        const auto length = m_engine->MediaLength();
        QVERIFY(length.has_value());
        QVERIFY2(qAbs(*length - fileSeconds) <= tolerance, qPrintable(QString::number(*length)));
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, endTimeoutMs);

        QVERIFY(m_engine->MediaFile(m_wav));
        QVERIFY(m_engine->StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, endTimeoutMs);
    }

    // A VBR MP3 without a length header is told by its true length once its frames are counted,
    // in the background; the bit rate of its quiet beginning would put it seconds off.
    void vbrMp3WithoutLengthHeaderHasItsTrueLength()
    {
        QSignalSpy changed(m_engine.get(), &MediaEngine::LengthChanged);
        QVERIFY(m_engine->MediaFile(m_vbrMp3) && m_engine->StartPlayback());
        QVERIFY(!changed.isEmpty() || changed.wait());
        const auto length = m_engine->MediaLength();
        QVERIFY2(length && qAbs(*length - 12) < 0.1, qPrintable(QString::number(length.value_or(-1))));
    }

    // A paused file stays where it was, however long it waits, and goes on from there.
    void pauseKeepsThePosition()
    {
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        QVERIFY(m_engine->MediaFile(m_wav));
        QVERIFY(m_engine->StartPlayback());
        QVERIFY(waitUntilPlayedPast(0.3));
        QVERIFY(m_engine->PausePlayback());
        const double pausedAt = m_engine->Position().value_or(-1);
        // Had the pause not held, the file would have ended within this wait.
        QVERIFY(!ended.wait(int((fileSeconds - pausedAt) * 1000) + 500));
        QVERIFY(qAbs(m_engine->Position().value_or(-1) - pausedAt) < 0.02);

        QVERIFY(m_engine->StartPlayback());
        QVERIFY(m_engine->Position().value_or(-1) >= pausedAt - 0.02);
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, endTimeoutMs);
    }

    // Stop keeps the file named and takes it back to its beginning, where the next start
    // plays it from; naming it again while it plays does the same.
    void stopThenStartPlaysFromTheBeginning()
    {
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        QVERIFY(m_engine->MediaFile(m_mp3));
        QVERIFY(m_engine->StartPlayback());
        QVERIFY(waitUntilPlayedPast(0.5));
        QVERIFY(m_engine->StopPlayback());
        QVERIFY(!m_engine->PausePlayback());
        QVERIFY(m_engine->Position().value_or(0) < 0.01);

        QVERIFY(m_engine->StartPlayback());
        QVERIFY(qAbs(m_engine->MediaLength().value_or(0) - fileSeconds) <= 0.1);
        QVERIFY(waitUntilPlayedPast(0.5));
        QVERIFY(m_engine->MediaFile(m_mp3));
        QVERIFY(m_engine->Position().value_or(0) < 0.01);
        QVERIFY(m_engine->StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, endTimeoutMs);
    }

    // A file whose rewind fails (this output refuses every seek) is loaded afresh, so it
    // starts over at the first press, whether named again, started again while playing or
    // started after its end.
    void fileThatCannotRewindIsLoadedAfresh()
    {
        GstEngine engine(QStringLiteral("audioconvert ! matroskamux ! fakesink sync=true"));
        QSignalSpy ended(&engine, &MediaEngine::PlaybackEnded);
        QVERIFY(engine.MediaFile(m_wav) && engine.StartPlayback());
        QVERIFY(engine.MediaFile(m_wav) && engine.StartPlayback() && engine.StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, endTimeoutMs);
        QVERIFY(engine.MediaFile(m_wav) && engine.StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, endTimeoutMs);
    }

    // An engine warmed in the background plays its first file as a cold one does, with the
    // length known at the start and one end; nothing from the warming reaches the player.
    void warmedEnginePlaysTheFirstFile()
    {
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        m_engine->warmUp({ m_midi });
        QVERIFY(m_engine->MediaFile(m_midi));
        QVERIFY(m_engine->StartPlayback());
        QVERIFY(qAbs(m_engine->MediaLength().value_or(0) - fileSeconds) <= 0.1);
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, endTimeoutMs);

        GstEngine unused(QStringLiteral("fakesink sync=true"));
        unused.warmUp({ m_wav });
    }

    // GStreamer started early for the files of a command line: a start ended at once, as one
    // that hands its files over, waits for it and ends; the player's own plays the first file
    // through the playbin readied early as a cold one does, with the length known and one end.
    void earlyStartedEnginePlaysTheFirstFile()
    {
        QByteArray program("velumo"), path = m_wav.toLocal8Bit();
        char *argv[] = { program.data(), path.data(), nullptr };
        {
            const EarlyStart handedOver(2, argv);
        }
        EarlyStart early(2, argv);
        GstEngine engine(QStringLiteral("fakesink sync=true"));
        QSignalSpy ended(&engine, &MediaEngine::PlaybackEnded);
        engine.prepareFirstFile(early);
        QVERIFY(engine.MediaFile(m_wav) && engine.StartPlayback());
        QVERIFY(qAbs(engine.MediaLength().value_or(0) - fileSeconds) <= 0.1);
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, endTimeoutMs);
    }

    // An end that was already on its way when the user stopped must not reach the player,
    // or the playlist would move on after Stop.
    void endQueuedBeforeStopIsDropped()
    {
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        QVERIFY(m_engine->MediaFile(m_wav));
        QVERIFY(m_engine->StartPlayback());
        blockUntilPlayedOut(fileSeconds);
        QVERIFY(m_engine->StopPlayback());
        QCoreApplication::processEvents();
        QCOMPARE(ended.count(), 0);

        QVERIFY(m_engine->MediaFile(m_mp3));
        QVERIFY(m_engine->StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, endTimeoutMs);
    }

    // An end already on its way when the user paused waits for the resume: the paused file
    // neither starts over nor ends until the user plays again, and then it ends once.
    void endQueuedBeforePauseIsRaisedOnTheResume()
    {
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        QVERIFY(m_engine->MediaFile(m_wav) && m_engine->StartPlayback());
        blockUntilPlayedOut(fileSeconds);
        QVERIFY(m_engine->PausePlayback());
        QVERIFY(!ended.wait(1000));
        QVERIFY(m_engine->Position().value_or(0) > fileSeconds - 0.1);
        QVERIFY(m_engine->StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, endTimeoutMs);
        QVERIFY(!ended.wait(500));
    }

    // An end already on its way when another file started must not end the new file.
    void endQueuedBeforeRestartIsDropped()
    {
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        QVERIFY(m_engine->MediaFile(m_wav));
        QVERIFY(m_engine->StartPlayback());
        blockUntilPlayedOut(fileSeconds);

        QVERIFY(m_engine->MediaFile(m_midi));
        QVERIFY(m_engine->StartPlayback());
        QCoreApplication::processEvents();
        QCOMPARE(ended.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, endTimeoutMs);
    }

    // A file that breaks off with an error once it is playing ends as its end would, once,
    // so the playlist moves on; the engine is then fit for the next file.
    void errorWhilePlayingEndsTheFile()
    {
        GstEngine engine(QStringLiteral("identity error-after=10 ! fakesink sync=true"));
        QSignalSpy ended(&engine, &MediaEngine::PlaybackEnded);
        QVERIFY(engine.MediaFile(m_wav));
        QVERIFY(engine.StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, endTimeoutMs);

        QVERIFY(engine.MediaFile(m_mp3));
        QVERIFY(engine.StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, endTimeoutMs);
    }

    // The engine starts loud and unmuted; the user's volume and mute stay from track to track.
    void volumeAndMuteOutliveTheTrack()
    {
        QCOMPARE(m_engine->MuteState(), std::optional<bool>(false));
        QCOMPARE(m_engine->LinearVolume(), 1.0);
        QVERIFY(m_engine->VolumeLevel(-1000));
        QVERIFY(m_engine->setMuteState(true));

        QVERIFY(m_engine->MediaFile(m_wav));
        QVERIFY(m_engine->StartPlayback());
        QVERIFY(m_engine->MediaFile(m_mp3));
        QVERIFY(m_engine->StartPlayback());
        QCOMPARE(m_engine->MuteState(), std::optional<bool>(true));
        QVERIFY(qAbs(m_engine->LinearVolume() - 0.316228) < 1e-4);

        QVERIFY(m_engine->VolumeLevel(-500));
        QVERIFY(qAbs(m_engine->LinearVolume() - 0.562341) < 1e-4);
        QVERIFY(m_engine->VolumeLevel(0));
        QCOMPARE(m_engine->LinearVolume(), 1.0);
        QVERIFY(!m_engine->VolumeLevel(1));
        QVERIFY(m_engine->setMuteState(false));
        QCOMPARE(m_engine->MuteState(), std::optional<bool>(false));
    }
};

QTEST_GUILESS_MAIN(EnginePlayback)
#include "playback.moc"

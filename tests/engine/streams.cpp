#include "playback/gstreamer/streamengine.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <memory>

// Streams from a small radio served on this machine, through the real engine, played on a sink
// that keeps time like a sound card.
class EngineStreams : public QObject {
    Q_OBJECT

private:
    static constexpr int waitMs = 20000;
    QProcess m_radio;
    QStringList m_said; // what the radio printed, a line each
    QString m_base;
    std::unique_ptr<StreamEngine> m_engine;

    // Starts the stream and waits for its first sound.
    void startAndHear(const QString &path)
    {
        QSignalSpy failed(m_engine.get(), &MediaEngine::StartFailed);
        QVERIFY(m_engine->MediaFile(m_base + path) && m_engine->StartPlayback());
        QTRY_VERIFY_WITH_TIMEOUT(m_engine->Position().value_or(0) > 0 || !failed.isEmpty(), waitMs);
        QVERIFY(failed.isEmpty());
    }

private slots:
    void initTestCase()
    {
        connect(&m_radio, &QProcess::readyReadStandardOutput, this, [this] {
            while (m_radio.canReadLine())
                m_said << QString::fromUtf8(m_radio.readLine()).trimmed();
        });
        m_radio.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_radio.start(QStringLiteral(PYTHON),
            { QStringLiteral(RADIOSERVER), QStringLiteral("--name"), QStringLiteral("Radio Prueba"),
                QStringLiteral("--title"), QStringLiteral("Artista Uno - Canción - En vivo") });
        QTRY_VERIFY_WITH_TIMEOUT(!m_said.isEmpty(), waitMs);
        m_base = QStringLiteral("http://127.0.0.1:%1").arg(m_said.takeFirst());
    }
    void cleanupTestCase()
    {
        m_radio.kill();
        m_radio.waitForFinished();
    }
    void init() { m_engine = std::make_unique<StreamEngine>(QStringLiteral("fakesink sync=true")); }
    void cleanup() { m_engine.reset(); }

    // The station's name and the title it sends are told, the title split into artist and title
    // at its first dash, and told again when the station sends another.
    void tellsStationAndTitle()
    {
        QSignalSpy told(m_engine.get(), &MediaEngine::TagsChanged);
        startAndHear(QStringLiteral("/stream"));
        QTRY_COMPARE_WITH_TIMEOUT(m_engine->Tags().title, QStringLiteral("Canción - En vivo"), waitMs);
        QCOMPARE(m_engine->Tags().artists, QStringList { QStringLiteral("Artista Uno") });
        QCOMPARE(m_engine->Tags().station, QStringLiteral("Radio Prueba"));
        m_radio.write("title Solo un título\n");
        QTRY_COMPARE_WITH_TIMEOUT(m_engine->Tags().title, QStringLiteral("Solo un título"), waitMs);
        QVERIFY(m_engine->Tags().artists.isEmpty());
    }

    // A stream that gives no sound fails its start once, in bounded time, while the window goes
    // on answering.
    void failsToStartWithoutBlocking_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("nothing listens") << QStringLiteral("http://127.0.0.1:1/stream");
        QTest::newRow("no answer") << QStringLiteral("/silent");
    }
    void failsToStartWithoutBlocking()
    {
        QFETCH(QString, address);
        QSignalSpy failed(m_engine.get(), &MediaEngine::StartFailed);
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticks;
        connect(
            &ticks, &QTimer::timeout, this, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
        ticks.start(20);
        sinceTick.start();
        QVERIFY(m_engine->MediaFile(address.startsWith(u'/') ? m_base + address : address));
        QVERIFY(m_engine->StartPlayback());
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, waitMs);
        QVERIFY2(longestGap < 1000, qPrintable(QString::number(longestGap)));
        QVERIFY(!m_engine->PausePlayback());
    }

    // A stream that drops while it plays is connected again by itself.
    void reconnectsAfterDrop()
    {
        QSignalSpy ended(m_engine.get(), &MediaEngine::PlaybackEnded);
        m_said.clear();
        startAndHear(QStringLiteral("/stream"));
        m_radio.write("drop\n");
        QTRY_COMPARE_WITH_TIMEOUT(m_said.count(QStringLiteral("stream")), 2, waitMs);
        const double before = m_engine->Position().value_or(0);
        QTRY_VERIFY_WITH_TIMEOUT(m_engine->Position().value_or(0) > before + 1, waitMs);
        QCOMPARE(ended.count(), 0);
    }

    // A station's playlist plays the stream it names, whether its name or its bytes tell it.
    void playsStationPlaylist_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("named") << QStringLiteral("/station.pls");
        QTest::newRow("served as such") << QStringLiteral("/station");
    }
    void playsStationPlaylist()
    {
        QFETCH(QString, path);
        startAndHear(path);
        QTRY_VERIFY_WITH_TIMEOUT(m_engine->Position().value_or(0) > 1, waitMs);
    }
};

QTEST_GUILESS_MAIN(EngineStreams)
#include "streams.moc"

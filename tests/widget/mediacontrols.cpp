#include "app/mpris.h"
#include "playertest.h"

#include <QtTest>

class MediaControls : public QObject {
    Q_OBJECT
private slots:
    // The desktop's Seek moves by an offset, clamped to the start and passing the end on to
    // the engine, which ends the track there; SetPosition moves only within the current track.
    void seekRules_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<bool>("sameTrack");
        QTest::addColumn<qlonglong>("micros");
        QTest::addColumn<QString>("engineCall");
        QTest::newRow("seek on") << "seek" << true << 5'000'000LL << "Seek 35";
        QTest::newRow("seek back before the start") << "seek" << true << -40'000'000LL << "Seek 0";
        QTest::newRow("seek past the end") << "seek" << true << 80'000'000LL << "Seek 110";
        QTest::newRow("position") << "set" << true << 50'000'000LL << "Seek 50";
        QTest::newRow("position of another track") << "set" << false << 50'000'000LL << "";
        QTest::newRow("position before the start") << "set" << true << -1LL << "";
        QTest::newRow("position past the end") << "set" << true << 100'000'001LL << "";
    }
    void seekRules()
    {
        QFETCH(QString, call);
        QFETCH(bool, sameTrack);
        QFETCH(qlonglong, micros);
        QFETCH(QString, engineCall);
        PlayerRig r;
        MprisService media(&r.p);
        QSignalSpy seeked(&media, &MprisService::seeked);
        r.fakes.engine.length = 100.0;
        r.fakes.engine.position = 30.0;
        r.state().setSongPath(QStringLiteral("/m/a.mp3"));
        r.state().setSongName(QStringLiteral("a.mp3"));
        r.p.cmdPlay_Click();
        const QString current = media.trackId();
        r.p.cmdPlay_Click();
        QVERIFY(media.trackId() != current);
        r.takeCalls();
        if (call == QLatin1String("seek"))
            media.seek(micros);
        else
            media.setPosition(sameTrack ? media.trackId() : current, micros);
        QCOMPARE(r.fakes.engine.calls.join(QLatin1Char(',')), engineCall);
        QCOMPARE(seeked.count(), engineCall.isEmpty() ? 0 : 1);
    }

    // A stream's station stands for its title until it sends a song's, then for its album.
    void streamMetadata()
    {
        PlayerRig r;
        MprisService media(&r.p);
        const QString address = QStringLiteral("http://radio.example/uno");
        r.state().setSongPath(address);
        r.state().setSongName(QStringLiteral("Radio Uno"));
        r.p.cmdPlay_Click();
        r.fakes.engine.tags.station = QStringLiteral("Estación");
        QCOMPARE(media.metadata().value("xesam:title"), QStringLiteral("Estación"));
        r.fakes.engine.tags.title = QStringLiteral("Canción");
        const QVariantMap data = media.metadata();
        QCOMPARE(data.value("xesam:title"), QStringLiteral("Canción"));
        QCOMPARE(data.value("xesam:album"), QStringLiteral("Estación"));
        QCOMPARE(data.value("xesam:url"), address);
    }

    // What the desktop opens with the player joins the list, and plays when it was empty.
    void openUriPlaysWhatItCan()
    {
        PlayerRig r;
        MprisService media(&r.p);
        media.openUri(QStringLiteral("ftp://example.org/c.mp3"));
        media.openUri(QStringLiteral("http://radio.example/uno"));
        QCOMPARE(r.p.playlist().count(), 1);
        QVERIFY(r.fakes.engine.calls.contains(QStringLiteral("StartPlayback")));
    }
};

QTEST_MAIN(MediaControls)
#include "mediacontrols.moc"

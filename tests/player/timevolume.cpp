#include "playertest.h"

#include <QtTest>

class TimeVolume : public QObject {
    Q_OBJECT
private slots:
    // While a track plays the one-second clock counts its seconds.
    void clockCountsSeconds()
    {
        PlayerRig r;
        r.state().setSongPath(QStringLiteral("/m/a.mp3"));
        r.p.cmdPlay_Click();
        QCOMPARE(r.p.findChild<QTimer *>(QStringLiteral("Timer"))->interval(), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(r.state().PlaySeconds(), qint16(1), 10000);
    }

    // A stream's clock shows the time heard, standing while nothing sounds; a stream that
    // gives no sound stops as a file that cannot play.
    void streamClock()
    {
        PlayerRig r;
        r.state().setSongPath(QStringLiteral("http://radio.example/uno"));
        r.fakes.engine.length.reset();
        r.p.cmdPlay_Click();
        r.fakes.engine.position = 61.2;
        r.p.Timer_Timer();
        r.p.Timer_Timer();
        QCOMPARE(r.state().PlayMinutes(), qint16(1));
        QCOMPARE(r.state().PlaySeconds(), qint16(1));
        emit r.fakes.engine.StartFailed();
        QCOMPARE(r.state().playback(), PlayerState::Playback::Stopped);
    }

    // The shown length is the engine's, and keeps its value when the length cannot be read
    // or is too long to count; the state keeps what the engine said.
    void lengthFromEngine()
    {
        PlayerRig r;
        r.fakes.engine.length = 59.5;
        r.p.TimePlay();
        QCOMPARE(r.state().shownLength(), (MinutesSeconds { 1, 0 }));
        r.fakes.engine.length = 40000;
        r.p.TimePlay();
        QCOMPARE(r.state().shownLength(), (MinutesSeconds { 1, 0 }));
        QCOMPARE(r.state().length(), 40000.0);
        r.fakes.engine.failing = QStringList { "MediaLength" };
        r.p.TimePlay();
        QCOMPARE(r.state().shownLength(), (MinutesSeconds { 1, 0 }));
        QVERIFY(!r.state().length());
    }

    // A slider position becomes the volume and sends the engine its level.
    void volume()
    {
        PlayerRig r;
        r.p.Slider_Scroll(0);
        QCOMPARE(r.state().volume(), 0);
        r.p.Slider_Scroll(10);
        QCOMPARE(r.state().volume(), 10);
        QCOMPARE(r.fakes.engine.calls, (QStringList { "VolumeLevel -1000", "VolumeLevel 0" }));
    }
};

QTEST_GUILESS_MAIN(TimeVolume)
#include "timevolume.moc"

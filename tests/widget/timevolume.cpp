#include "app/programfolder.h"
#include "extras/frmLyrics.h"
#include "fakes.h"

#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TimeVolume : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.path());
    }

    // Play zeroes the counters but the labels keep the old time until the next tick; the
    // 60th tick shows 1:0 and the tick after 59:59 shows 0:0.
    void elapsedLabels()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.SongPath = QStringLiteral("/m/a.mp3");
        w.cmdPlay_Click();
        w.Timer_Timer();
        w.Timer_Timer();
        w.cmdPlay_Click();
        QCOMPARE(elapsed(w), QStringLiteral("0:2"));
        for (int i = 0; i < 60; ++i)
            w.Timer_Timer();
        QCOMPARE(elapsed(w), QStringLiteral("1:0"));
        w.PlayMinutes = 59;
        w.PlaySeconds = 59;
        w.Timer_Timer();
        QCOMPARE(elapsed(w), QStringLiteral("0:0"));
        QCOMPARE(w.PlayMinutes, qint16(0));
        delete w.existingLyricsWindow();
    }

    // The running timer drives the tick. The seconds wrap at 60, so a slow poll may miss
    // any one value; the count of ticks only grows.
    void timerTicks()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.Timer->setInterval(10);
        w.Timer->start();
        QTRY_VERIFY(w.PlayMinutes * 60 + w.PlaySeconds >= 2);
        w.Timer->stop();
        QCOMPARE(elapsed(w), QStringLiteral("%1:%2").arg(w.PlayMinutes).arg(w.PlaySeconds));
    }

    // The length labels show the engine's length, and keep their text when the length
    // cannot be read or is too long to count.
    void lengthLabels()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fakes.engine.length = 59.5;
        w.TimePlay();
        QCOMPARE(length(w), QStringLiteral("1:0"));
        fakes.engine.length = -90;
        w.TimePlay();
        QCOMPARE(length(w), QStringLiteral("-1:-30"));
        fakes.engine.length = 40000;
        w.TimePlay();
        QCOMPARE(length(w), QStringLiteral("-1:-30"));
        fakes.engine.failing = QStringList { "MediaLength" };
        w.TimePlay();
        QCOMPARE(length(w), QStringLiteral("-1:-30"));
    }

    // Each slider position the user reaches sends its level; the start position (full
    // volume, as the engine starts) and positions the program sets are never sent.
    void sliderSendsOnlyUserMoves()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        QCOMPARE(w.Slider->value(), 10);
        w.Slider->setValue(3);
        QCoreApplication::processEvents();
        QVERIFY(fakes.engine.calls.isEmpty());

        w.Slider->triggerAction(QAbstractSlider::SliderToMinimum);
        QTRY_COMPARE(fakes.engine.calls, (QStringList { "VolumeLevel -1000" }));
        w.Slider->setValue(4);
        w.Slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QTRY_COMPARE(fakes.engine.calls.size(), 2);
        w.Slider->triggerAction(QAbstractSlider::SliderToMaximum);
        QTRY_COMPARE(
            fakes.engine.calls, (QStringList { "VolumeLevel -1000", "VolumeLevel -500", "VolumeLevel 0" }));
    }

    // A slider that reports a position outside 0 to 10 sends nothing.
    void sliderOutOfRange()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.Slider->setRange(0, 20);
        w.Slider->setValue(15);
        w.Slider_Scroll();
        QVERIFY(fakes.engine.calls.isEmpty());
    }

private:
    static QString elapsed(const frmMP3 &w)
    {
        return w.LblSongTimer1->text() + QLatin1Char(':') + w.LblSongTimer2->text();
    }
    static QString length(const frmMP3 &w) { return w.lblMM->text() + QLatin1Char(':') + w.lblSS->text(); }

    QTemporaryDir m_folder;
};

QTEST_MAIN(TimeVolume)
#include "timevolume.moc"

#include "extras/frmLyrics.h"
#include "windowfakes.h"
#include "files/programfolder.h"
#include "window.h"

#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

class TimeVolume : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.path());
    }

    // The running clock counts the seconds into the elapsed labels; Play zeroes the count
    // but the labels keep the time last shown until the next second is counted.
    void elapsedLabels()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        w.player().state().setSongPath(QStringLiteral("/m/a.mp3"));
        w.player().cmdPlay_Click();
        QTRY_VERIFY_WITH_TIMEOUT(timeRow(w).startsWith(QLatin1String("0:1 ")), 10000);
        w.player().Timer_Timer();
        w.player().cmdPlay_Click();
        QCOMPARE(w.player().state().PlaySeconds(), qint16(0));
        QVERIFY(timeRow(w).startsWith(QLatin1String("0:2 ")));
        w.player().Timer_Timer();
        QVERIFY(timeRow(w).startsWith(QLatin1String("0:1 ")));
        w.player().cmdStop_Click();
        delete w.existingLyricsWindow();
    }

    // The length labels show the engine's length and keep their text when the length cannot
    // be read or is too long to count; the state keeps what the engine said.
    void lengthLabels()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        fakes.engine.length = 59.5;
        w.player().TimePlay();
        QVERIFY(timeRow(w).endsWith(QLatin1String(" 1:0")));
        fakes.engine.length = 40000;
        w.player().TimePlay();
        QVERIFY(timeRow(w).endsWith(QLatin1String(" 1:0")));
        QCOMPARE(w.player().state().length(), 40000.0);
        fakes.engine.failing = QStringList { "MediaLength" };
        w.player().TimePlay();
        QVERIFY(timeRow(w).endsWith(QLatin1String(" 1:0")));
        QVERIFY(!w.player().state().length());
    }

    // Each slider position the user reaches sends its level and becomes the volume; the
    // start position (full volume, as the engine starts) and positions the program sets are
    // never sent.
    void sliderSendsOnlyUserMoves()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        QSlider *slider = control<QSlider>(w, "Slider");
        QCOMPARE(slider->value(), 10);
        slider->setValue(3);
        QCoreApplication::processEvents();
        QVERIFY(fakes.engine.calls.isEmpty());

        slider->triggerAction(QAbstractSlider::SliderToMinimum);
        QTRY_COMPARE(fakes.engine.calls, QStringList { "VolumeLevel -1000" });
        QCOMPARE(w.player().state().volume(), 0);
        slider->setValue(4);
        slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QTRY_COMPARE(fakes.engine.calls.size(), 2);
        slider->triggerAction(QAbstractSlider::SliderToMaximum);
        QTRY_COMPARE(
            fakes.engine.calls, (QStringList { "VolumeLevel -1000", "VolumeLevel -500", "VolumeLevel 0" }));
        QCOMPARE(w.player().state().volume(), 10);
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(TimeVolume)
#include "timevolume.moc"

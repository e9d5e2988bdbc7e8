#include "window.h"

#include <QSlider>
#include <QtTest>

class TimeVolume : public QObject {
    Q_OBJECT
private slots:
    // Each slider position the user reaches sends its level; the start position (full
    // volume, as the engine starts) and positions the program sets are never sent.
    void sliderSendsOnlyUserMoves()
    {
        WindowRig r;
        QStringList &calls = r.fakes.engine.calls;
        QSlider *slider = control<QSlider>(r.w, "Slider");
        QCOMPARE(slider->value(), 10);
        slider->setValue(3);
        QCoreApplication::processEvents();
        QVERIFY(calls.isEmpty());

        slider->triggerAction(QAbstractSlider::SliderToMinimum);
        QTRY_COMPARE(calls, QStringList { "VolumeLevel -1000" });
        slider->setValue(4);
        slider->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QTRY_COMPARE(calls.size(), 2);
        slider->triggerAction(QAbstractSlider::SliderToMaximum);
        QTRY_COMPARE(calls, (QStringList { "VolumeLevel -1000", "VolumeLevel -500", "VolumeLevel 0" }));
    }
};

QTEST_MAIN(TimeVolume)
#include "timevolume.moc"

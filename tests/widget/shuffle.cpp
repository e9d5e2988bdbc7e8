#include "widgets/widgetstyle.h"
#include "window.h"

#include <QtTest>

class Shuffle : public QObject {
    Q_OBJECT
private slots:
    // The shuffle button is red while the mode is on and grey again once it is off, also
    // when there was nothing to play.
    void buttonShowsTheMode()
    {
        WindowRig r;
        click(r.w, "cmdShuffle");
        QCOMPARE(faceColour(control<QPushButton>(r.w, "cmdShuffle")), QColor(255, 0, 0));
        click(r.w, "cmdShuffle");
        QCOMPARE(faceColour(control<QPushButton>(r.w, "cmdShuffle")), QColor(192, 192, 192));
    }
};

QTEST_MAIN(Shuffle)
#include "shuffle.moc"

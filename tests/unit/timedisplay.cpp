#include "playback/timedisplay.h"

#include <QtTest>
#include <cfenv>
#include <cmath>
#include <limits>

class TimeDisplay : public QObject {
    Q_OBJECT
private slots:
    // Lengths round to the nearest second with halves to the even one, then split into
    // minutes cut towards zero and the seconds left over.
    void lengthLabels_data()
    {
        QTest::addColumn<double>("length");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::newRow("245.4") << 245.4 << 4 << 5;
        QTest::newRow("59.5 up to even") << 59.5 << 1 << 0;
        QTest::newRow("2.5 down to even") << 2.5 << 0 << 2;
        QTest::newRow("3.5 up to even") << 3.5 << 0 << 4;
        QTest::newRow("-0.5 to zero") << -0.5 << 0 << 0;
        QTest::newRow("-2.5 to -2") << -2.5 << 0 << -2;
        QTest::newRow("zero") << 0.0 << 0 << 0;
        QTest::newRow("negative keeps its sign") << -90.0 << -1 << -30;
        QTest::newRow("no hours") << 3599.6 << 60 << 0;
        QTest::newRow("largest count") << 32767.4 << 546 << 7;
        QTest::newRow("halfway below the limit") << 32766.5 << 546 << 6;
        QTest::newRow("smallest count") << -32768.5 << -546 << -8;
    }
    void lengthLabels()
    {
        QFETCH(double, length);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        const auto shown = lengthDisplay(length);
        QVERIFY(shown);
        QCOMPARE(shown->minutes, minutes);
        QCOMPARE(shown->seconds, seconds);
    }

    // A length whose whole seconds do not fit a 16-bit count gives no labels at all.
    void lengthTooLong_data()
    {
        QTest::addColumn<double>("length");
        QTest::newRow("halfway past the limit") << 32767.5;
        QTest::newRow("40000") << 40000.0;
        QTest::newRow("below the limit") << -32769.0;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    }
    void lengthTooLong()
    {
        QFETCH(double, length);
        QVERIFY(!lengthDisplay(length));
    }

    // Halves go to the even neighbour even when the rounding mode was changed elsewhere.
    void halvesToEvenInAnyMode()
    {
        const int mode = std::fegetround();
        std::fesetround(FE_UPWARD);
        const double down = roundHalfToEven(4.5);
        const double up = roundHalfToEven(5.5);
        std::fesetround(mode);
        QCOMPARE(down, 4.0);
        QCOMPARE(up, 6.0);
    }

    // The tick rolls seconds into minutes at 60 and minutes back to 0 after 59:59.
    void tick_data()
    {
        QTest::addColumn<int>("minutesBefore");
        QTest::addColumn<int>("secondsBefore");
        QTest::addColumn<int>("minutesAfter");
        QTest::addColumn<int>("secondsAfter");
        QTest::newRow("first tick") << 0 << 0 << 0 << 1;
        QTest::newRow("within a minute") << 5 << 30 << 5 << 31;
        QTest::newRow("a full minute") << 0 << 59 << 1 << 0;
        QTest::newRow("a full hour") << 59 << 59 << 0 << 0;
    }
    void tick()
    {
        QFETCH(int, minutesBefore);
        QFETCH(int, secondsBefore);
        QFETCH(int, minutesAfter);
        QFETCH(int, secondsAfter);
        const MinutesSeconds after = nextTick({ qint16(minutesBefore), qint16(secondsBefore) });
        QCOMPARE(after, (MinutesSeconds { qint16(minutesAfter), qint16(secondsAfter) }));
    }

    // Positions 0 to 10 map to -1000 to 0 in steps of 100; nothing else reaches the engine.
    void volume()
    {
        QCOMPARE(volumeLevelFor(0), -1000);
        QCOMPARE(volumeLevelFor(1), -900);
        QCOMPARE(volumeLevelFor(5), -500);
        QCOMPARE(volumeLevelFor(10), 0);
        QVERIFY(!volumeLevelFor(-1));
        QVERIFY(!volumeLevelFor(11));
    }
};

QTEST_APPLESS_MAIN(TimeDisplay)
#include "timedisplay.moc"

#include "playlist/shufflerandom.h"

#include <QtTest>

class ShuffleRandom : public QObject {
    Q_OBJECT
private slots:
    // Draws stay in [0, 1), spread over the range, and quick successive draws differ
    // although the clock may not have moved between them.
    void clockDraws()
    {
        float low = 1.0f;
        float high = 0.0f;
        float previous = clockRandom();
        for (int i = 0; i < 2000; ++i) {
            const float r = clockRandom();
            QVERIFY(r >= 0.0f && r < 1.0f);
            QVERIFY(r != previous);
            low = std::min(low, r);
            high = std::max(high, r);
            previous = r;
        }
        QVERIFY(low < 0.1f);
        QVERIFY(high > 0.9f);
    }

    // A draw picks floor(r x n), and the largest float below 1 still picks the last row
    // of the longest list.
    void picks()
    {
        QCOMPARE(shufflePick(0.7f, 3), 2);
        QCOMPARE(shufflePick(0.0f, 10), 0);
        QCOMPARE(shufflePick(0.0f, 0), 0);
        QCOMPARE(shufflePick(std::nextafter(1.0f, 0.0f), 32767), 32766);
        QCOMPARE(shufflePick(std::nextafter(1.0f, 0.0f), 1), 0);
    }
};

QTEST_MAIN(ShuffleRandom)
#include "shufflerandom.moc"

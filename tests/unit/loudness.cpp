#include "playback/gstreamer/loudness.h"

#include <QtTest>

using Gain = MediaEngine::Gain;
Q_DECLARE_METATYPE(GainTags)

class LoudnessTest : public QObject {
    Q_OBJECT
private slots:
    // The gain asked for wins and the other stands in for it; none plays the file as stored;
    // a raise goes no further than the peak allows, and a missing peak counts as full scale.
    void appliedGains_data()
    {
        QTest::addColumn<GainTags>("tags");
        QTest::addColumn<Gain>("wanted");
        QTest::addColumn<double>("gain");
        const GainTags both { -3.0, 0.5, -6.0, 0.9 };
        QTest::newRow("track") << both << Gain::Track << -3.0;
        QTest::newRow("album") << both << Gain::Album << -6.0;
        QTest::newRow("stored") << both << Gain::Stored << 0.0;
        QTest::newRow("album missing") << GainTags { -3.0, {}, {}, {} } << Gain::Album << -3.0;
        QTest::newRow("track missing") << GainTags { {}, {}, 4.0, 0.25 } << Gain::Track << 4.0;
        QTest::newRow("peaks alone") << GainTags { {}, 0.5, {}, 0.5 } << Gain::Track << 0.0;
        QTest::newRow("raise bounded by peak") << GainTags { 10.0, 0.5, {}, {} } << Gain::Track << 6.0206;
        QTest::newRow("raise without peak") << GainTags { 4.0, {}, {}, {} } << Gain::Track << 0.0;
    }
    void appliedGains()
    {
        QFETCH(GainTags, tags);
        QFETCH(Gain, wanted);
        QFETCH(double, gain);
        QVERIFY(qAbs(appliedGain(tags, wanted) - gain) < 1e-4);
    }

    // R128 gains are 256ths of a dB on a reference 5 dB below ReplayGain's; text that is no
    // such number is no gain.
    void r128Gains()
    {
        QCOMPARE(fromR128(QStringLiteral("-3328")), std::optional(-8.0));
        QCOMPARE(fromR128(QStringLiteral(" 0")), std::optional(5.0));
        QCOMPARE(fromR128(QStringLiteral("32767")), std::optional(32767 / 256.0 + 5));
        QCOMPARE(fromR128(QStringLiteral("32768")), std::nullopt);
        QCOMPARE(fromR128(QStringLiteral("-2.5 dB")), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(LoudnessTest)
#include "loudness.moc"

#include "playback/adtslength.h"

#include <QtTest>

namespace {

// An ADTS frame of the given size at 44.1 kHz holding one block of 1024 samples.
QByteArray frame(int size)
{
    QByteArray bytes(size, '\0');
    bytes[0] = char(0xff);
    bytes[1] = char(0xf1);
    bytes[2] = char(4 << 2);
    bytes[3] = char((size >> 11) & 0x03);
    bytes[4] = char((size >> 3) & 0xff);
    bytes[5] = char((size & 0x07) << 5);
    return bytes;
}

} // namespace

class AdtsLength : public QObject {
    Q_OBJECT
private slots:
    // A file read whole is measured by its samples; a longer one by the bit rate of its start,
    // an ID3 tag before the frames left out of both.
    void measured()
    {
        QByteArray frames;
        for (int i = 0; i < 441; ++i)
            frames += frame(i % 2 ? 300 : 500);
        QCOMPARE(adtsLength(frames, frames.size()), 441 * 1024 / 44100.0);
        QCOMPARE(adtsLength(frames, frames.size() * 10), 441 * 1024 / 44100.0 * 10);
        const QByteArray tag = QByteArray("ID3\x04\x00\x00\x00\x00\x01\x00", 10) + QByteArray(128, 'x');
        QCOMPARE(adtsLength(tag + frames, tag.size() + frames.size()), 441 * 1024 / 44100.0);
    }

    // An MP3 frame, text, or a start too short to tell a bit rate give nothing.
    void refused()
    {
        QVERIFY(!adtsLength(QByteArray("\xff\xfb\x90\x64", 4) + QByteArray(2000, '\0'), 100000));
        QVERIFY(!adtsLength(QByteArray("no es audio"), 100000));
        QVERIFY(!adtsLength(frame(400) + frame(400), 100000));
        QVERIFY(!adtsLength(QByteArray(), 0));
    }
};

QTEST_GUILESS_MAIN(AdtsLength)
#include "adtslength.moc"

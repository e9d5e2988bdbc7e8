#include "playback/mpeglength.h"

#include <QtTest>
#include <optional>

namespace {

// A layer III frame, stereo, at the first sample rate of its version (44.1 kHz for MPEG-1,
// 22.05 kHz for MPEG-2), of the size its bit rate gives; the body starts with text.
QByteArray frame(bool mpeg1, int bitRateIndex, int size, const QByteArray &body = {})
{
    QByteArray bytes(size, '\0');
    bytes[0] = char(0xff);
    bytes[1] = char(mpeg1 ? 0xfb : 0xf3);
    bytes[2] = char(bitRateIndex << 4);
    bytes.replace(36, body.size(), body);
    return bytes;
}

QByteArray frames(int count, bool mpeg1, int bitRateIndex, int size)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += frame(mpeg1, bitRateIndex, size);
    return bytes;
}

const QByteArray quiet = frames(50, true, 1, 104); // 32 kb/s
const QByteArray loud = frames(50, true, 14, 1044); // 320 kb/s

} // namespace

class MpegLength : public QObject {
    Q_OBJECT
private slots:
    void counted_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<std::optional<double>>("seconds");
        QTest::newRow("bit rate changing") << quiet + loud << std::optional(100 * 1152 / 44100.0);
        QTest::newRow("length header, junk, ID3v1 tag")
            << frame(true, 9, 417, "Xing") + quiet + QByteArray(50, 'x') + loud + "TAG" + QByteArray(125, ' ')
            << std::optional(100 * 1152 / 44100.0);
        QTest::newRow("MPEG-2") << frames(30, false, 8, 208) << std::optional(30 * 576 / 22050.0);
        QTest::newRow("ADTS") << QByteArray("\xff\xf1\x50\x80\x02\x1f\xfc", 7) + QByteArray(1000, '\0')
                              << std::optional<double>();
        QTest::newRow("text") << QByteArray("no es audio") << std::optional<double>();
        QTest::newRow("one frame") << frame(true, 9, 417) << std::optional<double>();
    }

    // Every frame of the stream counts with its own size, whatever lies between frames is
    // passed over, and the silent length header is left out; what does not start with frames
    // has no length.
    void counted()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(std::optional<double>, seconds);
        QCOMPARE(mpegAudioLength(bytes), seconds);
    }

    // A file is counted after the ID3v2 tag at its start.
    void fileCountedAfterItsTag()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("tema.mp3")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("ID3\x03\x00\x00\x00\x00\x01\x00", 10) + QByteArray(128, 'x') + quiet + loud);
        file.close();
        QCOMPARE(mpegFileLength(file.fileName()), std::optional(100 * 1152 / 44100.0));
    }
};

QTEST_GUILESS_MAIN(MpegLength)
#include "mpeglength.moc"

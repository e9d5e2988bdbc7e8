#include "playback/mpeglength.h"

#include <QtTest>
#include <optional>

namespace {

// Layer III frames, stereo, at 44.1 kHz (MPEG-1) or 22.05 kHz (MPEG-2), of the size their bit
// rate gives; the first holds the text given after its side information.
QByteArray frames(int count, bool mpeg1, int bitRateIndex, int size, const QByteArray &text = {})
{
    QByteArray frame(size, '\0');
    frame[0] = char(0xff);
    frame[1] = char(mpeg1 ? 0xfb : 0xf3);
    frame[2] = char(bitRateIndex << 4);
    return QByteArray(frame).replace(36, text.size(), text) + frame.repeated(count - 1);
}

const QByteArray quiet = frames(50, true, 1, 104); // 32 kb/s
const QByteArray loud = frames(50, true, 14, 1044); // 320 kb/s
const std::optional<double> hundredFrames = 100 * 1152 / 44100.0;

} // namespace

class MpegLength : public QObject {
    Q_OBJECT
private slots:
    void counted_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<std::optional<double>>("seconds");
        QTest::newRow("bit rate changing") << quiet + loud << hundredFrames;
        // A delay of 576 samples and a padding of 861.
        const QByteArray lame
            = QByteArray("Xing\0\0\0\0LAME3.100", 17) + QByteArray(12, '\0') + "\x24\x03\x5d";
        QTest::newRow("LAME header, junk, ID3v1 tag") << frames(1, true, 9, 417, lame) + quiet
                + QByteArray(50, 'x') + loud + "TAG"
                + QByteArray(125, ' ') << std::optional((100 * 1152 - 576 - 861) / 44100.0);
        QTest::newRow("MPEG-2") << frames(30, false, 8, 208) << std::optional(30 * 576 / 22050.0);
        QTest::newRow("ADTS") << QByteArray("\xff\xf1\x50\x80\x02\x1f\xfc", 7) + QByteArray(1000, '\0')
                              << std::optional<double>();
        QTest::newRow("one frame") << frames(1, true, 9, 417) << std::optional<double>();
    }

    // Every frame of the stream counts with its own size, whatever lies between frames is
    // passed over, and the silent length header and the encoder's delay and padding are left
    // out; what does not start with frames has no length.
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
        QCOMPARE(mpegFileLength(file.fileName()), hundredFrames);
    }
};

QTEST_GUILESS_MAIN(MpegLength)
#include "mpeglength.moc"

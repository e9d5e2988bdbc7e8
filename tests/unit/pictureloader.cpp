#include "extras/pictureloader.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QSize kBox(401, 305);
}

class PictureLoader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void formats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("bmp") << "bmp";
        QTest::newRow("jpg") << "jpg";
        QTest::newRow("gif") << "gif";
        QTest::newRow("png") << "png";
    }

    // Each format a user may choose comes back scaled to the box, its colour kept.
    void formats()
    {
        QFETCH(QString, format);
        const QString path = m_dir.filePath("red." + format);
        writeRedPicture(path, format);
        const QImage loaded = loadPicture(path, kBox);
        QCOMPARE(loaded.size(), kBox);
        const QColor centre = loaded.pixelColor(200, 150);
        QVERIFY2(centre.red() > 240 && centre.green() < 16 && centre.blue() < 16, qPrintable(centre.name()));
    }

    // Nothing that is not a picture file yields a picture.
    void noPicture()
    {
        QVERIFY(loadPicture(QString(), kBox).isNull());
        QVERIFY(loadPicture(m_dir.filePath("missing.bmp"), kBox).isNull());
        QVERIFY(loadPicture(m_dir.path(), kBox).isNull());
        // A device could block the reader forever, or never end.
        QVERIFY(loadPicture(QStringLiteral("/dev/zero"), kBox).isNull());
        QFile text(m_dir.filePath("words.bmp"));
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a picture at all\r\n");
        text.close();
        QVERIFY(loadPicture(text.fileName(), kBox).isNull());
    }

    // A picture whose header claims 20000 x 20000 pixels is refused from its header alone.
    void hugePictureRefusedFromItsHeader()
    {
        const QString path = m_dir.filePath("huge.bmp");
        writeBmpHeader(path, 20000, 20000);
        QVERIFY(loadPicture(path, kBox).isNull());
        writeBmpHeader(path, 40000, 1);
        QVERIFY(loadPicture(path, kBox).isNull());
    }

private:
    static void writeRedPicture(const QString &path, const QString &format)
    {
        if (format != "gif") {
            QImage red(64, 48, QImage::Format_RGB32);
            red.fill(QColor(255, 0, 0));
            QVERIFY(red.save(path, format.toLatin1()));
            return;
        }
        // Qt writes no GIF, so this one is spelled out: one pixel of colour 0, red.
        static const char bytes[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00"
                                    "\xff\x00\x00\x00\x00\x00"
                                    ",\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                                    "\x02\x02\x44\x01\x00;";
        const QByteArray gif(bytes, sizeof bytes - 1);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(gif), gif.size());
    }

    // A 24-bit BMP header for a picture of the given size, with no pixels behind it.
    static void writeBmpHeader(const QString &path, qint32 width, qint32 height)
    {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        const quint32 pixels = quint32(width) * 3 * quint32(height);
        out.writeRawData("BM", 2);
        out << quint32(54 + pixels) << quint32(0) << quint32(54);
        out << quint32(40) << width << height << quint16(1) << quint16(24) << quint32(0) << pixels
            << qint32(2835) << qint32(2835) << quint32(0) << quint32(0);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
};

QTEST_MAIN(PictureLoader)
#include "pictureloader.moc"

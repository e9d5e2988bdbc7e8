#include "files/coverart.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

bool write(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class CoverArt : public QObject {
    Q_OBJECT
private slots:
    // An embedded picture, rather than one beside the track, is written into the cache under
    // a name made from its content and its kind (read from the picture when the file does
    // not say), once: a picture already there is not written again.
    void embeddedPictureIsCachedOnce()
    {
        QTemporaryDir dir;
        const QString track = dir.filePath(QStringLiteral("tema.mp3"));
        const QString cache = dir.filePath(QStringLiteral("cache/portadas"));
        QVERIFY(write(dir.filePath(QStringLiteral("cover.jpg")), "beside"));
        const QByteArray picture("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
        const QString cached = coverArtFile(track, picture, QStringLiteral("image/png"), cache);
        QCOMPARE(cached,
            QDir(cache).filePath(
                QCryptographicHash::hash(picture, QCryptographicHash::Sha1).toHex() + ".png"));
        QFile file(cached);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.readAll() == picture && file.resize(0));
        QCOMPARE(coverArtFile(dir.filePath(QStringLiteral("otro.mp3")), picture, QString(), cache), cached);
        QCOMPARE(file.size(), 0);
        QVERIFY(coverArtFile(track, "another picture", QStringLiteral("image/jpeg"), cache) != cached);
    }

    void pictureBesideTheTrack_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("cover.jpg first")
            << QStringList { "folder.jpg", "cover.png", "cover.jpg" } << "cover.jpg";
        QTest::newRow("folder.jpg before cover.png")
            << QStringList { "cover.png", "Folder.JPG" } << "Folder.JPG";
        QTest::newRow("cover.png") << QStringList { "COVER.PNG" } << "COVER.PNG";
        QTest::newRow("other pictures") << QStringList { "portada.jpg", "cover.gif" } << QString();
    }

    // Without an embedded picture, a cover.jpg, folder.jpg or cover.png beside the track is
    // taken, in that order, whatever the case of its name; no other picture is.
    void pictureBesideTheTrack()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, chosen);
        QTemporaryDir dir;
        for (const QString &name : files)
            QVERIFY(write(dir.filePath(name), "picture"));
        const QString found
            = coverArtFile(dir.filePath(QStringLiteral("tema.mp3")), {}, {}, dir.filePath("cache"));
        QCOMPARE(found, chosen.isEmpty() ? QString() : dir.filePath(chosen));
    }
};

QTEST_GUILESS_MAIN(CoverArt)
#include "coverart.moc"

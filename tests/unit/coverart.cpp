#include "files/coverart.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

bool write(const QString &path, const QByteArray &content, qint64 secondsOld = 0)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.flush()
        && file.setFileTime(
            QDateTime::currentDateTime().addSecs(-secondsOld), QFileDevice::FileModificationTime);
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

    // The cache is the user's alone and keeps the 200 pictures shown last, a picture shown again
    // counting as new; what an interrupted write left is removed.
    void cacheIsPrivateAndBounded()
    {
        QTemporaryDir dir;
        const QString cache = dir.filePath(QStringLiteral("cache")), track = dir.filePath("tema.mp3");
        const QString shown = coverArtFile(track, "shown", QStringLiteral("image/jpeg"), cache);
        for (int i = 0; i < 200; ++i)
            QVERIFY(write(cache + QString("/%1.jpg").arg(i), "x", 3600 - i));
        QVERIFY(write(cache + "/0.jpg.aB3dE9", "x", 3600) && write(shown, "shown", 7200));
        QCOMPARE(coverArtFile(track, "shown", QStringLiteral("image/jpeg"), cache), shown);
        const QString added = coverArtFile(track, "added", QStringLiteral("image/jpeg"), cache);
        QCOMPARE(QDir(cache).entryList(QDir::Files).size(), 200);
        QVERIFY(QFile::exists(shown) && QFile::exists(added) && QFile::exists(cache + "/2.jpg"));
        const auto others = QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QCOMPARE(
            (QFileInfo(cache).permissions() | QFileInfo(added).permissions()) & others, QFile::Permissions());
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
        QTest::newRow("link to a device")
            << QStringList { "cover.jpg>/dev/zero", "folder.jpg" } << "folder.jpg";
    }

    // Without an embedded picture, a cover.jpg, folder.jpg or cover.png beside the track is
    // taken, in that order, whatever the case of its name; no other picture is, nor a link to a
    // device, which would never end.
    void pictureBesideTheTrack()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, chosen);
        QTemporaryDir dir;
        for (const QString &name : files) {
            const QStringList link = name.split(u'>');
            QVERIFY(link.size() > 1 ? QFile::link(link[1], dir.filePath(link[0]))
                                    : write(dir.filePath(name), "picture"));
        }
        const QString found
            = coverArtFile(dir.filePath(QStringLiteral("tema.mp3")), {}, {}, dir.filePath("cache"));
        QCOMPARE(found, chosen.isEmpty() ? QString() : dir.filePath(chosen));
    }
};

QTEST_GUILESS_MAIN(CoverArt)
#include "coverart.moc"

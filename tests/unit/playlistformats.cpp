#include "playlist/playlistformats.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/resource.h>

class PlaylistFormats : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.isValid()); }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : { "mía.m3u8", "l.m3u", "l.pls", "l.xspf", "l.wpl", "l.asx" })
            QTest::newRow(name) << QString::fromUtf8(name);
    }
    // A playlist the player writes, of any kind, reads back as the same files in the same order:
    // below its folder and elsewhere, names that look like comments, addresses, folders from
    // Windows or URL escapes, or that hold line breaks, included.
    void roundTrip()
    {
        QFETCH(QString, name);
        const QString folder = m_dir.filePath(QStringLiteral("listas"));
        QList<PlaylistEntry> entries;
        QStringList paths;
        for (const QString &path : { folder + QStringLiteral("/sub/canción, uno.mp3"),
                 QStringLiteral("/otra/dos.ogg"), folder + QStringLiteral("/#tres.wav"),
                 folder + QStringLiteral("/file:x.flac"), folder + QStringLiteral("/AC\\DC - Back.mp3"),
                 QStringLiteral("/otra/50%20 <y>\n&.mp3"), folder + QStringLiteral("/ ") }) {
            entries.append({ path, QFileInfo(path).fileName(), 61.6 });
            paths << path;
        }
        const QByteArray bytes = encodePlaylistAs(*playlistFormatOf(name), entries, folder);
        QCOMPARE(readPlaylistFile(write(QStringLiteral("listas/") + name, bytes), 100), paths);
    }

    void namesXmlCannotHold_data() { roundTrip_data(); }
    // Characters a Linux file name may hold that XML cannot (noncharacters, control characters)
    // read back from every kind, in paths below the playlist's folder and elsewhere; in names
    // they leave the file readable.
    void namesXmlCannotHold()
    {
        QFETCH(QString, name);
        const QString odd = QStringLiteral("a\uFFFE\uFFFF\U0001FFFE\x01\x0b.mp3");
        const QStringList paths { QStringLiteral("/listas/sub/") + odd, QStringLiteral("/otra/") + odd };
        const QList<PlaylistEntry> entries { { paths[0], odd, 1 }, { paths[1], odd, 1 } };
        const auto format = *playlistFormatOf(name);
        const QByteArray bytes = encodePlaylistAs(format, entries, QStringLiteral("/listas"));
        QCOMPARE(parsePlaylist(bytes, format, QStringLiteral("/listas"), 10), paths);
    }

    void formatToSave_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("m3u8Picked");
        QTest::addColumn<QString>("written"); // the extension of the kind written
        QTest::newRow("m3u under the own entry")
            << QStringLiteral("mezcla.m3u") << false << QStringLiteral("m3u");
        QTest::newRow("pls in capitals") << QStringLiteral("mezcla.PLS") << false << QStringLiteral("pls");
        QTest::newRow("asx under the M3U8 entry")
            << QStringLiteral("mezcla.asx") << true << QStringLiteral("asx");
        QTest::newRow("own under the M3U8 entry")
            << QStringLiteral("mezcla.smp") << true << QStringLiteral("smp");
        QTest::newRow("other under the M3U8 entry")
            << QStringLiteral("mezcla") << true << QStringLiteral("m3u8");
        QTest::newRow("other under the own entry")
            << QStringLiteral("mezcla.txt") << false << QStringLiteral("smp");
    }
    // A name with the extension of a kind "Abrir" reads is written as that kind, whichever entry
    // was picked; any other name as the entry picked says.
    void formatToSave()
    {
        QFETCH(QString, name);
        QFETCH(bool, m3u8Picked);
        QFETCH(QString, written);
        QCOMPARE(::formatToSave(name, m3u8Picked), playlistFormatOf(QStringLiteral("x.") + written));
    }

    // The forms other players write: M3U from Windows (backslashes, CR LF, Windows-1252),
    // PLS numbered out of line order, XSPF with escaped URIs, WPL and ASX; web addresses are
    // passed over and missing files kept, and so are entries naming a folder (no track). A
    // Windows-1252 line garbles no UTF-8 line beside it.
    void otherPlayersForms_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("m3u")
            << QStringLiteral("l.m3u")
            << QByteArray("#EXTM3U\r\n#EXTINF:200,Uno\r\nsub\\canci\xf3n.mp3\r\n\r\n.\r\nsub\\\r\n"
                          "http://radio.example/stream\r\n/abs/b\xc3\xa9.mp3\r\nfile:///abs/c%20d.mp3\r\n");
        QTest::newRow("pls")
            << QStringLiteral("l.pls")
            << QByteArray("[playlist]\nFile2=/abs/b\xc3\xa9.mp3\nTitle2=B\nFile1=sub/canci\xf3n.mp3\n"
                          "Length1=200\nFile3=https://x.example/a.mp3\nFile4=file:///abs/c%20d.mp3\n"
                          "File5=.\nNumberOfEntries=4\nVersion=2\n");
        QTest::newRow("xspf")
            << QStringLiteral("l.xspf")
            << QByteArray(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><trackList>"
                   "<track><location>sub/canci%C3%B3n.mp3</location><title>Uno</title></track>"
                   "<track><location>http://x.example/a.ogg</location></track><track><location/></track>"
                   "<track><location>file:///abs/b%C3%A9.mp3</location>"
                   "<location>file:///otra.mp3</location></track>"
                   "<track><location>file:///abs/c%20d.mp3</location></track>"
                   "</trackList></playlist>\n");
        QTest::newRow("wpl") << QStringLiteral("l.wpl")
                             << QByteArray(
                                    "<?wpl version=\"1.0\"?>\n<smil><head><title>L</title></head><body><seq>"
                                    "<media src=\"..\\abs\\sub\\canción.mp3\"/><media src=\"/abs/bé.mp3\"/>"
                                    "<media src=\"/abs/c d.mp3\"/><media src=\".\"/></seq></body></smil>\n");
        QTest::newRow("asx")
            << QStringLiteral("l.asx")
            << QByteArray("<ASX version=\"3.0\"><Entry><Ref HREF=\"sub/canción.mp3\"/></Entry>"
                          "<Entry><Ref href=\"mms://x.example/a\"/></Entry><Entry><Ref href=\"..\"/></Entry>"
                          "<Entry><ref href=\"file:///abs/b%C3%A9.mp3\"/></Entry>"
                          "<Entry><ref href=\"/abs/c d.mp3\"/></Entry></ASX>\n");
    }
    void otherPlayersForms()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString folder = m_dir.filePath(QStringLiteral("abs"));
        const QStringList expected { folder + QStringLiteral("/sub/canción.mp3"),
            QStringLiteral("/abs/bé.mp3"), QStringLiteral("/abs/c d.mp3") };
        QCOMPARE(readPlaylistFile(write(QStringLiteral("abs/") + name, content), 100), expected);
    }

    // A large playlist is read up to the count asked for, in order.
    void capped()
    {
        QByteArray content;
        for (int i = 0; i < 40000; ++i)
            content += "pista" + QByteArray::number(i) + ".mp3\n";
        const auto paths = readPlaylistFile(write(QStringLiteral("grande.m3u"), content), 32768);
        QVERIFY(paths);
        QCOMPARE(paths->size(), 32768);
        QCOMPARE(paths->last(), m_dir.filePath(QStringLiteral("pista32767.mp3")));
    }

    void memoryOfTheFileOrder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("m3u") << QStringLiteral("vacia.m3u") << QByteArray();
        QTest::newRow("pls") << QStringLiteral("vacia.pls") << QByteArray("[playlist]\n");
    }
    // A file of the largest size read, all blank lines, takes memory of the order of the file,
    // never that of a list of its lines.
    void memoryOfTheFileOrder()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, header);
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(header);
        const QByteArray blanks(1024 * 1024, '\n');
        while (file.pos() + blanks.size() <= maxPlaylistBytes)
            file.write(blanks);
        file.close();
        const qint64 before = peakKb();
        QVERIFY(readPlaylistFile(file.fileName(), 32768));
        QCOMPARE_LT(peakKb() - before, 4 * maxPlaylistBytes / 1024);
    }

    // What is not a playlist of its kind is refused as a whole, never read as rows of junk.
    void refused()
    {
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 7919) % 256);
        QVERIFY(!readPlaylistFile(write(QStringLiteral("basura.m3u"), binary), 100));
        QVERIFY(!readPlaylistFile(write(QStringLiteral("basura.pls"), "File1=a.mp3\n"), 100));
        QVERIFY(!readPlaylistFile(write(QStringLiteral("basura.xspf"), "<playlist><trackList><track>"), 100));
        QVERIFY(!readPlaylistFile(
            write(QStringLiteral("otra.xspf"), "<html><location>a</location></html>"), 100));
        QVERIFY(!readPlaylistFile(m_dir.filePath(QStringLiteral("falta.m3u")), 100));
        QVERIFY(!readPlaylistFile(write(QStringLiteral("lista.smp"), "a.mp3\r\n"), 100));
    }

private:
    static qint64 peakKb()
    {
        rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    }

    QString write(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return QString();
        return path;
    }

    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(PlaylistFormats)
#include "playlistformats.moc"

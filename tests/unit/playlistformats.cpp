#include "playlist/playlistformats.h"
#include "playlist/remoteplaylist.h"

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
    // Windows or URL escapes, or that hold line breaks, included; a stream comes back as its
    // address, under its name where the kind records names (WPL does not).
    void roundTrip()
    {
        QFETCH(QString, name);
        const bool namesKept = !name.endsWith(QLatin1String("wpl"));
        const QString folder = m_dir.filePath(QStringLiteral("listas"));
        const QString stream = QStringLiteral("HTTP://Radio.example/canción?a=1&b=%C3%B1");
        QList<PlaylistEntry> entries;
        QStringList expected;
        for (const QString &path : { folder + QStringLiteral("/sub/canción, uno.mp3"),
                 QStringLiteral("/otra/dos.ogg"), folder + QStringLiteral("/#tres.wav"), stream,
                 folder + QStringLiteral("/file:x.flac"), folder + QStringLiteral("/AC\\DC - Back.mp3"),
                 QStringLiteral("/otra/50%20 <y>\n&.mp3"), folder + QStringLiteral("/ ") }) {
            const QString title = QStringLiteral("Radio <Uno>, 1");
            const QString fileName = QFileInfo(path).fileName();
            entries.append({ path, path == stream ? title : fileName, 61.6 });
            expected << path + u'|' + (path != stream ? fileName : namesKept ? title : stream);
        }
        const QByteArray bytes = encodePlaylistAs(*playlistFormatOf(name), entries, folder);
        QCOMPARE(rows(readPlaylistFile(write(QStringLiteral("listas/") + name, bytes), 100)), expected);
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
        QCOMPARE(rows(parsePlaylist(bytes, format, QStringLiteral("/listas"), 10)),
            (QStringList { paths[0] + u'|' + odd, paths[1] + u'|' + odd }));
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
    // PLS numbered out of line order, XSPF with escaped URIs, WPL and ASX. Missing files are
    // kept, and http streams in their place under the title given them; entries naming a
    // folder (no track) and addresses of other schemes are passed over. A Windows-1252 line
    // garbles no UTF-8 line beside it.
    void otherPlayersForms_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("m3u")
            << QStringLiteral("l.m3u")
            << QByteArray("#EXTM3U\r\n#EXTINF:200,Uno\r\nsub\\canci\xf3n.mp3\r\n\r\n.\r\nsub\\\r\n#EXTINF:-1,"
                          "Radio, Uno\r\nhttp://x.example/a\r\nrtsp://x.example/a\r\n/abs/b\xc3\xa9.mp3\r\n"
                          "file:///abs/c%20d.mp3\r\n");
        QTest::newRow("pls")
            << QStringLiteral("l.pls")
            << QByteArray(
                   "[playlist]\nFile3=/abs/b\xc3\xa9.mp3\nTitle3=B\nFile1=sub/canci\xf3n.mp3\n"
                   "Length1=200\nFile2=http://x.example/a\nFile4=file:///abs/c%20d.mp3\n"
                   "File5=.\nTitle2=Radio, Uno\nFile6=mms://x.example/a\nNumberOfEntries=4\nVersion=2\n");
        QTest::newRow("xspf")
            << QStringLiteral("l.xspf")
            << QByteArray(
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><title>L</title><trackList>"
                   "<track><location>sub/canci%C3%B3n.mp3</location><title>Uno</title></track>"
                   "<track><title>Radio, Uno</title><location>http://x.example/a</location></track>"
                   "<track><location/></track>"
                   "<track><location>file:///abs/b%C3%A9.mp3</location>"
                   "<location>file:///otra.mp3</location></track>"
                   "<track><location>file:///abs/c%20d.mp3</location></track>"
                   "</trackList></playlist>\n");
        QTest::newRow("wpl")
            << QStringLiteral("l.wpl")
            << QByteArray("<?wpl version=\"1.0\"?>\n<smil><head><title>L</title></head><body><seq>"
                          "<media src=\"..\\abs\\sub\\canción.mp3\"/><media src=\"http://x.example/a\"/>"
                          "<media src=\"/abs/bé.mp3\"/><media src=\"/abs/c d.mp3\"/><media src=\".\"/>"
                          "</seq></body></smil>\n");
        QTest::newRow("asx")
            << QStringLiteral("l.asx")
            << QByteArray(
                   "<ASX version=\"3.0\"><Title>L</Title><Entry><Ref HREF=\"sub/canción.mp3\"/></Entry>"
                   "<Entry><Ref href=\"http://x.example/a\"/><Title>Radio, <B>Uno</B></Title></Entry>"
                   "<Entry><Ref href=\"mms://x.example/a\"/></Entry><Entry><Ref href=\"..\"/></Entry>"
                   "<Entry><ref href=\"file:///abs/b%C3%A9.mp3\"/></Entry>"
                   "<Entry><ref href=\"/abs/c d.mp3\"/></Entry></ASX>\n");
    }
    void otherPlayersForms()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString folder = m_dir.filePath(QStringLiteral("abs"));
        const QString stream = name.endsWith(QLatin1String("wpl"))
            ? QStringLiteral("http://x.example/a|http://x.example/a")
            : QStringLiteral("http://x.example/a|Radio, Uno");
        const QStringList expected { folder + QStringLiteral("/sub/canción.mp3|canción.mp3"), stream,
            QStringLiteral("/abs/bé.mp3|bé.mp3"), QStringLiteral("/abs/c d.mp3|c d.mp3") };
        QCOMPARE(rows(readPlaylistFile(write(QStringLiteral("abs/") + name, content), 100)), expected);
    }

    // A station's playlist from the web is read as its content says, whatever its address;
    // only its streams are taken, relative ones from its address, never the files it names.
    void stationPlaylists()
    {
        const QUrl at(QStringLiteral("http://radio.example/dir/lista.m3u"));
        QCOMPARE(streamsInPlaylist("\n[Playlist]\nFile1=https://a.example/\nFile2=../dos\nFile3=C:\\a.mp3\n"
                                   "File4=file:///m/a.mp3\nFile5=rtsp://a.example/x\n",
                     at),
            (QStringList { "https://a.example/", "http://radio.example/dos" }));
        QCOMPARE(streamsInPlaylist("\xEF\xBB\xBF<playlist><trackList><track><location>uno.ogg</location>"
                                   "</track></trackList></playlist>",
                     at),
            QStringList { "http://radio.example/dir/uno.ogg" });
        QCOMPARE(streamsInPlaylist("#EXTM3U\nuno.mp3\nhttp://b.example/\n", at),
            (QStringList { "http://radio.example/dir/uno.mp3", "http://b.example/" }));
        QVERIFY(!streamsInPlaylist("<html><a href=\"x\">x</a></html>\n", at));
        QVERIFY(!streamsInPlaylist("#EXTM3U\n#EXT-X-TARGETDURATION:10\nuno.ts\n", at));
    }

    // A large playlist is read up to the count asked for, in order.
    void capped()
    {
        QByteArray content;
        for (int i = 0; i < 40000; ++i)
            content += "pista" + QByteArray::number(i) + ".mp3\n";
        const auto entries = readPlaylistFile(write(QStringLiteral("grande.m3u"), content), 32768);
        QVERIFY(entries);
        QCOMPARE(entries->size(), 32768);
        QCOMPARE(entries->last().path, m_dir.filePath(QStringLiteral("pista32767.mp3")));
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
    // Each entry read as "path|name of its row".
    static QStringList rows(const std::optional<QList<PlaylistEntry>> &entries)
    {
        QStringList rows;
        for (const PlaylistEntry &entry : entries.value_or(QList<PlaylistEntry>()))
            rows << entry.path + u'|' + rowName(entry);
        return rows;
    }

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

#include "playertest.h"

#include <QtTest>

namespace {
const QString kLoadError = QStringLiteral("Error: No se encontró el archivo");
const QString kSaveError = QStringLiteral("Error: No se pudo guardar el archivo");

struct Rig : PlayerRig {
    QString file(const QString &name) const { return folder.filePath(name); }
    void rememberFolder(const QString &folder)
    {
        QVERIFY(writeFile(file("Dir.txt"), folder.toUtf8() + "\r\n"));
    }
    QStringList rows() const
    {
        QStringList out;
        for (int row = 0; row < p.playlist().count(); ++row)
            out << p.playlist().pathAt(row) + "|" + p.playlist().nameAt(row);
        return out;
    }
};
} // namespace

class PlaylistFiles : public QObject {
    Q_OBJECT
private slots:
    // Both dialogs start in the program's folder with the playlist filter, the open dialog
    // with its flag word, the save dialog giving a bare name typed under the M3U8 entry its
    // extension; a cancel writes, adds and reports nothing.
    void dialogsPreparedAndCancelled()
    {
        Rig r;
        fillPlaylist(r.p, { "/m/a.mp3" });
        FakeDialog &dialog = r.fakes.common;
        dialog.InitDir = "/somewhere/else";
        dialog.answers = { QString() };
        r.p.cmdSave_Click();
        QCOMPARE(dialog.shown, (QStringList { "save " + r.folder.path() }));
        QCOMPARE(dialog.lastFilter, QStringLiteral("SMP Files(*.smp)|*.smp|M3U8 (*.m3u8)|*.m3u8"));
        QCOMPARE(dialog.lastExtensions, (QStringList { "", "m3u8" }));
        dialog.InitDir = "/somewhere/else";
        dialog.FileName = "/old/choice.smp";
        dialog.answers = { QString() };
        r.p.cmdLoad_Click();
        QCOMPARE(dialog.shown.last(), "open " + r.folder.path());
        QCOMPARE(dialog.lastFilter,
            QStringLiteral("SMP Files(*.smp)|*.smp|Todas las listas|*.m3u;*.m3u8;*.pls;*.xspf;*.wpl;*.asx"
                           "|M3U y M3U8 (*.m3u *.m3u8)|*.m3u;*.m3u8|PLS (*.pls)|*.pls|XSPF (*.xspf)|*.xspf"
                           "|WPL y ASX (*.wpl *.asx)|*.wpl;*.asx"));
        QCOMPARE(dialog.lastFlags, qint16(16384));
        QCOMPARE(r.p.playlist().count(), 1);
        QVERIFY(r.fakes.messages.shown.isEmpty());
        QCOMPARE(QDir(r.folder.path()).entryList(QDir::Files), QStringList {});
    }

    // Saving writes the names, and loading the file appends them again behind the folder
    // of the last added track, wherever the tracks first came from; the current track and
    // the sound stay as they were.
    void saveThenLoadAppendsBehindRememberedFolder()
    {
        Rig r;
        fillPlaylist(r.p, { "/discos/a/uno.mp3", "/discos/b/Rock, Pop.wav" });
        r.rememberFolder("/discos/b/");
        r.state().setSongIndex(1);
        r.state().setSongPath("/discos/b/Rock, Pop.wav");
        const QString list = r.file("lista.smp");
        r.fakes.common.answers = { list, list };
        r.p.cmdSave_Click();
        QCOMPARE(readFile(list), QByteArray("uno.mp3\r\nRock, Pop.wav\r\n"));
        r.p.cmdLoad_Click();
        QCOMPARE(r.rows(),
            (QStringList { "/discos/a/uno.mp3|uno.mp3", "/discos/b/Rock, Pop.wav|Rock, Pop.wav",
                "/discos/b/uno.mp3|uno.mp3", "/discos/b/Rock, Pop.wav|Rock, Pop.wav" }));
        QCOMPARE(r.state().SongIndex(), qint16(1));
        QCOMPARE(r.state().SongPath(), QStringLiteral("/discos/b/Rock, Pop.wav"));
        QVERIFY(r.fakes.engine.calls.isEmpty());
        QVERIFY(r.fakes.messages.shown.isEmpty());
    }

    // A stream is saved as its address and loads back as a stream named by it, never behind the
    // remembered folder, which a list of streams does without.
    void streamsInOwnPlaylist()
    {
        Rig r;
        r.p.playlist().append("http://radio.example/uno", "Radio Uno");
        const QString list = r.file("radio.smp");
        r.fakes.common.answers = { list, list };
        r.p.cmdSave_Click();
        QCOMPARE(readFile(list), QByteArray("http://radio.example/uno\r\n"));
        r.p.cmdLoad_Click();
        QCOMPARE(r.rows().last(), "http://radio.example/uno|http://radio.example/uno");
        QVERIFY(r.fakes.messages.shown.isEmpty());
    }

    // The file goes exactly where the user closed the dialog, under the name typed, with
    // no extension added; an empty playlist is an empty file, and loading it adds nothing.
    void emptyPlaylistWrittenWhereChosen()
    {
        Rig r;
        r.rememberFolder("/m/");
        const QString elsewhere = r.file("otra") + "/";
        QVERIFY(QDir().mkpath(elsewhere));
        r.fakes.common.answers = { elsewhere + "mix", elsewhere + "mix" };
        r.p.cmdSave_Click();
        QCOMPARE(readFile(elsewhere + "mix"), QByteArray());
        QVERIFY(!QFileInfo::exists(r.file("mix")));
        r.p.cmdLoad_Click();
        QCOMPARE(r.p.playlist().count(), 0);
        QVERIFY(r.fakes.messages.shown.isEmpty());
    }

    void loadFailures_data()
    {
        QTest::addColumn<QByteArray>("dirTxt"); // "<none>" for no file
        QTest::addColumn<QString>("chosen"); // relative to the program's folder
        QTest::newRow("no Dir.txt") << QByteArray("<none>") << "l.smp";
        QTest::newRow("Dir.txt too short") << QByteArray("/") << "l.smp";
        QTest::newRow("Dir.txt empty") << QByteArray() << "l.smp";
        QTest::newRow("Dir.txt a folder") << QByteArray("<folder>") << "l.smp";
        QTest::newRow("playlist missing") << QByteArray("/m/\r\n") << "missing.smp";
        QTest::newRow("playlist a folder") << QByteArray("/m/\r\n") << "carpeta";
        QTest::newRow("playlist a device") << QByteArray("/m/\r\n") << "/dev/zero";
    }
    // Every failure after the dialog shows the one load message and adds nothing.
    void loadFailures()
    {
        QFETCH(QByteArray, dirTxt);
        QFETCH(QString, chosen);
        Rig r;
        if (dirTxt == "<folder>")
            QVERIFY(QDir().mkpath(r.file("Dir.txt")));
        else if (dirTxt != "<none>")
            QVERIFY(writeFile(r.file("Dir.txt"), dirTxt));
        QVERIFY(writeFile(r.file("l.smp"), "a.mp3\r\n"));
        QVERIFY(QDir().mkpath(r.file("carpeta")));
        r.fakes.common.answers = { QDir(r.folder.path()).absoluteFilePath(chosen) };
        r.p.cmdLoad_Click();
        QCOMPARE(r.fakes.messages.shown, QStringList { kLoadError });
        QCOMPARE(r.p.playlist().count(), 0);
    }

    // Loading stops at 32767 rows, keeps what fit and reports the rest as a failure.
    void loadStopsAtCapacity()
    {
        Rig r;
        r.rememberFolder("/m/");
        fillPlaylist(r.p, QStringList(32760, "/m/x.mp3"));
        const QString list = r.file("l.smp");
        QVERIFY(writeFile(list, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n"));
        r.fakes.common.answers = { list };
        r.p.cmdLoad_Click();
        QCOMPARE(r.fakes.messages.shown, QStringList { kLoadError });
        QCOMPARE(r.p.playlist().count(), 32767);
        QCOMPARE(r.p.playlist().nameAt(32766), QStringLiteral("7"));
    }

    // A file too long to be any playlist is read only in part: its whole lines are loaded,
    // then the failure shows.
    void overlongFileLoadsItsHead()
    {
        Rig r;
        r.rememberFolder("/m/");
        const QString list = r.file("largo.smp");
        QVERIFY(writeFile(list, "a.mp3\r\n" + QByteArray(17 * 1024 * 1024, 'z')));
        r.fakes.common.answers = { list };
        r.p.cmdLoad_Click();
        QCOMPARE(r.fakes.messages.shown, QStringList { kLoadError });
        QCOMPARE(r.rows(), QStringList { "/m/a.mp3|a.mp3" });
    }

    void saveFailures_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("target"); // relative to the program's folder
        QTest::newRow("line break in a name") << "/m/dos\nlineas.mp3"
                                              << "l.smp";
        QTest::newRow("folder that cannot be written") << "/m/nuevo.mp3"
                                                       << "archivo/l.smp";
    }
    // A save that cannot be made shows the save error and leaves the old file as it was.
    void saveFailures()
    {
        QFETCH(QString, entry);
        QFETCH(QString, target);
        Rig r;
        QVERIFY(writeFile(r.file("l.smp"), "viejo.mp3\r\n"));
        QVERIFY(writeFile(r.file("archivo"), "x"));
        fillPlaylist(r.p, { "/m/bien.mp3", entry });
        r.fakes.common.answers = { r.file(target) };
        r.p.cmdSave_Click();
        QCOMPARE(r.fakes.messages.shown, QStringList { kSaveError });
        QCOMPARE(readFile(r.file("l.smp")), QByteArray("viejo.mp3\r\n"));
    }

    void m3u8Chosen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("entry");
        QTest::newRow("name typed") << "Lista.M3U8" << 1;
        QTest::newRow("entry picked") << "lista" << 2;
        QTest::newRow("own extension typed under the M3U8 entry") << "lista.smp" << 2;
    }
    // M3U8 is written when the user picks its entry or types its extension, unless the name
    // typed is the player's own kind: lengths the engine told, paths below the playlist's
    // folder relative, and the file reads back as the same rows.
    void m3u8Chosen()
    {
        QFETCH(QString, name);
        QFETCH(int, entry);
        Rig r;
        const QString below = r.file("discos/uno.flac");
        fillPlaylist(r.p, { below, "/otros/dos.mp3" });
        r.state().setSongPath(below);
        r.state().setSongName("uno.flac");
        r.fakes.engine.length = 125.4;
        r.p.cmdPlay_Click();
        const QString list = r.file(name);
        r.fakes.common.answers = { list };
        r.fakes.common.chosenFilter = entry;
        r.p.cmdSave_Click();
        if (name.endsWith(".smp")) {
            QCOMPARE(readFile(list), QByteArray("uno.flac\r\ndos.mp3\r\n"));
            return;
        }
        QCOMPARE(readFile(list),
            QByteArray(
                "#EXTM3U\n#EXTINF:125,uno.flac\ndiscos/uno.flac\n#EXTINF:-1,dos.mp3\n/otros/dos.mp3\n"));
        if (!name.endsWith(".M3U8"))
            return;
        r.p.playlist().clear();
        r.fakes.common.answers = { list };
        r.p.cmdLoad_Click();
        QCOMPARE(r.rows(), (QStringList { below + "|uno.flac", "/otros/dos.mp3|dos.mp3" }));
        QVERIFY(r.fakes.messages.shown.isEmpty());
    }

    // Other players' PLS and XSPF files add their local files in order, relative ones from
    // the playlist's folder, each under its file name, and their streams under their titles,
    // behind the rows already there.
    void otherPlayersPlaylistsAppended()
    {
        Rig r;
        fillPlaylist(r.p, { "/m/ya.mp3" });
        const QString pls = r.file("radio.pls");
        QVERIFY(writeFile(pls,
            "[playlist]\nNumberOfEntries=3\nFile1=sub/Canción uno.ogg\nTitle1=Uno\n"
            "File2=http://radio.invalid/stream\nTitle2=Radio "
            "Uno\nFile3=/abs/dos.mp3\nLength3=200\nVersion=2\n"));
        const QString xspf = r.file("lista.xspf");
        QVERIFY(writeFile(xspf,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><trackList>"
            "<track><location>file:///abs/tres%20y%20cuatro.opus</location><title>T</title></track>"
            "<track><location>cinco.m4a</location></track>"
            "</trackList></playlist>\n"));
        r.fakes.common.answers = { pls, xspf };
        r.p.cmdLoad_Click();
        r.p.cmdLoad_Click();
        const QString here = r.folder.path() + "/";
        QCOMPARE(r.rows(),
            (QStringList { "/m/ya.mp3|ya.mp3", here + "sub/Canción uno.ogg|Canción uno.ogg",
                "http://radio.invalid/stream|Radio Uno", "/abs/dos.mp3|dos.mp3",
                "/abs/tres y cuatro.opus|tres y cuatro.opus", here + "cinco.m4a|cinco.m4a" }));
        QVERIFY(r.fakes.messages.shown.isEmpty());
    }

    // Another player's playlist that is not one, or holds more than there is room for, shows
    // the load message; the rows that fit stay.
    void otherPlayersPlaylistFailures()
    {
        Rig r;
        const QString garbage = r.file("basura.xspf");
        QVERIFY(writeFile(garbage, QByteArray("\x00\xff<playlist", 11)));
        const QString m3u = r.file("larga.m3u");
        QVERIFY(writeFile(m3u, "#EXTM3U\n/m/1.mp3\n/m/2.mp3\n/m/3.mp3\n"));
        fillPlaylist(r.p, QStringList(32765, "/m/x.mp3"));
        r.fakes.common.answers = { garbage, m3u };
        r.p.cmdLoad_Click();
        QCOMPARE(r.p.playlist().count(), 32765);
        r.p.cmdLoad_Click();
        QCOMPARE(r.fakes.messages.shown, (QStringList { kLoadError, kLoadError }));
        QCOMPARE(r.p.playlist().count(), 32767);
        QCOMPARE(r.p.playlist().pathAt(32766), QStringLiteral("/m/2.mp3"));
    }
};

QTEST_GUILESS_MAIN(PlaylistFiles)
#include "playlistfiles.moc"

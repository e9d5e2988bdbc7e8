#include "app/dialogfilter.h"
#include "files/programfolder.h"
#include "fakes.h"
#include "window.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kLoadError = QStringLiteral("Error: No se encontró el archivo");
const QString kSaveError = QStringLiteral("Error: No se pudo guardar el archivo");

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList rows(const frmMP3 &w)
{
    QStringList out;
    for (int row = 0; row < w.playlist().count(); ++row)
        out << w.playlist().pathAt(row) + "|" + w.playlist().nameAt(row);
    return out;
}
} // namespace

class PlaylistFiles : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_folder.emplace();
        QVERIFY(m_folder->isValid());
        setProgramFolder(m_folder->path());
    }

    // Both dialogs start in the program's folder with the playlist filter, the open dialog
    // with its flag word, the save dialog giving a bare name typed under the M3U8 entry its
    // extension; a cancel writes, adds and reports nothing.
    void dialogsPreparedAndCancelled()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fillPlaylist(w, { "/m/a.mp3" });
        fakes.common.InitDir = "/somewhere/else";
        fakes.common.answers = { QString() };
        click(w, "cmdSave");
        QCOMPARE(fakes.common.shown, (QStringList { "save " + m_folder->path() }));
        QCOMPARE(qtNameFilters(fakes.common.lastFilter),
            (QStringList { "SMP Files(*.smp) (*.smp)", "M3U8 (*.m3u8) (*.m3u8)" }));
        QCOMPARE(fakes.common.lastExtensions, (QStringList { "", "m3u8" }));
        fakes.common.InitDir = "/somewhere/else";
        fakes.common.FileName = "/old/choice.smp";
        fakes.common.answers = { QString() };
        click(w, "cmdLoad");
        QCOMPARE(fakes.common.shown.last(), "open " + m_folder->path());
        QCOMPARE(qtNameFilters(fakes.common.lastFilter),
            (QStringList { "SMP Files(*.smp) (*.smp)",
                "Todas las listas (*.m3u *.m3u8 *.pls *.xspf *.wpl *.asx)",
                "M3U y M3U8 (*.m3u *.m3u8) (*.m3u *.m3u8)", "PLS (*.pls) (*.pls)", "XSPF (*.xspf) (*.xspf)",
                "WPL y ASX (*.wpl *.asx) (*.wpl *.asx)" }));
        QCOMPARE(fakes.common.lastFlags, qint16(16384));
        QCOMPARE(w.playlist().count(), 1);
        QVERIFY(fakes.messages.shown.isEmpty());
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList {});
    }

    // Saving writes the names, and loading the file appends them again behind the folder
    // of the last added track, wherever the tracks first came from; the current track and
    // the sound stay as they were.
    void saveThenLoadAppendsBehindRememberedFolder()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fillPlaylist(w, { "/discos/a/uno.mp3", "/discos/b/Rock, Pop.wav" });
        rememberFolder("/discos/b/");
        w.state().setSongIndex(1);
        w.state().setSongPath("/discos/b/Rock, Pop.wav");
        const QString list = m_folder->filePath("lista.smp");
        fakes.common.answers = { list, list };
        w.cmdSave_Click();
        QCOMPARE(readFile(list), QByteArray("uno.mp3\r\nRock, Pop.wav\r\n"));
        w.cmdLoad_Click();
        QCOMPARE(rows(w),
            (QStringList { "/discos/a/uno.mp3|uno.mp3", "/discos/b/Rock, Pop.wav|Rock, Pop.wav",
                "/discos/b/uno.mp3|uno.mp3", "/discos/b/Rock, Pop.wav|Rock, Pop.wav" }));
        QCOMPARE(w.state().SongIndex(), qint16(1));
        QCOMPARE(w.state().SongPath(), QStringLiteral("/discos/b/Rock, Pop.wav"));
        QVERIFY(fakes.engine.calls.isEmpty());
        QVERIFY(fakes.messages.shown.isEmpty());
    }

    // The file goes exactly where the user closed the dialog, under the name typed, with
    // no extension added; an empty playlist is an empty file, and loading it adds nothing.
    void emptyPlaylistWrittenWhereChosen()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        rememberFolder("/m/");
        const QString elsewhere = m_folder->filePath("otra") + "/";
        QVERIFY(QDir().mkpath(elsewhere));
        fakes.common.answers = { elsewhere + "mix", elsewhere + "mix" };
        w.cmdSave_Click();
        QCOMPARE(readFile(elsewhere + "mix"), QByteArray());
        QVERIFY(!QFileInfo::exists(m_folder->filePath("mix")));
        w.cmdLoad_Click();
        QCOMPARE(w.playlist().count(), 0);
        QVERIFY(fakes.messages.shown.isEmpty());
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
        const QString dirFile = m_folder->filePath("Dir.txt");
        if (dirTxt == "<folder>")
            QVERIFY(QDir().mkpath(dirFile));
        else if (dirTxt != "<none>")
            QVERIFY(writeFile(dirFile, dirTxt));
        QVERIFY(writeFile(m_folder->filePath("l.smp"), "a.mp3\r\n"));
        QVERIFY(QDir().mkpath(m_folder->filePath("carpeta")));
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fakes.common.answers = { QDir(m_folder->path()).absoluteFilePath(chosen) };
        w.cmdLoad_Click();
        QCOMPARE(fakes.messages.shown, QStringList { kLoadError });
        QCOMPARE(w.playlist().count(), 0);
    }

    // Loading stops at 32767 rows, keeps what fit and reports the rest as a failure.
    void loadStopsAtCapacity()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        rememberFolder("/m/");
        fillPlaylist(w, QStringList(32760, "/m/x.mp3"));
        const QString list = m_folder->filePath("l.smp");
        QVERIFY(writeFile(list, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n"));
        fakes.common.answers = { list };
        w.cmdLoad_Click();
        QCOMPARE(fakes.messages.shown, QStringList { kLoadError });
        QCOMPARE(w.playlist().count(), 32767);
        QCOMPARE(w.playlist().nameAt(32766), QStringLiteral("7"));
    }

    // A file too long to be any playlist is read only in part: its whole lines are loaded,
    // then the failure shows.
    void overlongFileLoadsItsHead()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        rememberFolder("/m/");
        const QString list = m_folder->filePath("largo.smp");
        QVERIFY(writeFile(list, "a.mp3\r\n" + QByteArray(17 * 1024 * 1024, 'z')));
        fakes.common.answers = { list };
        w.cmdLoad_Click();
        QCOMPARE(fakes.messages.shown, QStringList { kLoadError });
        QCOMPARE(rows(w), QStringList { "/m/a.mp3|a.mp3" });
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
        const QString old = m_folder->filePath("l.smp");
        QVERIFY(writeFile(old, "viejo.mp3\r\n"));
        QVERIFY(writeFile(m_folder->filePath("archivo"), "x"));
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fillPlaylist(w, { "/m/bien.mp3", entry });
        fakes.common.answers = { m_folder->filePath(target) };
        w.cmdSave_Click();
        QCOMPARE(fakes.messages.shown, QStringList { kSaveError });
        QCOMPARE(readFile(old), QByteArray("viejo.mp3\r\n"));
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
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        const QString below = m_folder->filePath("discos/uno.flac");
        fillPlaylist(w, { below, "/otros/dos.mp3" });
        w.state().setSongPath(below);
        w.state().setSongName("uno.flac");
        fakes.engine.length = 125.4;
        w.cmdPlay_Click();
        const QString list = m_folder->filePath(name);
        fakes.common.answers = { list };
        fakes.common.chosenFilter = entry;
        w.cmdSave_Click();
        if (name.endsWith(".smp")) {
            QCOMPARE(readFile(list), QByteArray("uno.flac\r\ndos.mp3\r\n"));
            return;
        }
        QCOMPARE(readFile(list),
            QByteArray(
                "#EXTM3U\n#EXTINF:125,uno.flac\ndiscos/uno.flac\n#EXTINF:-1,dos.mp3\n/otros/dos.mp3\n"));
        if (!name.endsWith(".M3U8"))
            return;
        w.playlist().clear();
        fakes.common.answers = { list };
        w.cmdLoad_Click();
        QCOMPARE(rows(w), (QStringList { below + "|uno.flac", "/otros/dos.mp3|dos.mp3" }));
        QVERIFY(fakes.messages.shown.isEmpty());
    }

    // Other players' PLS and XSPF files add their local files in order, relative ones from
    // the playlist's folder, each under its file name, behind the rows already there; web
    // addresses are passed over without a message.
    void otherPlayersPlaylistsAppended()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fillPlaylist(w, { "/m/ya.mp3" });
        const QString pls = m_folder->filePath("radio.pls");
        QVERIFY(writeFile(pls,
            "[playlist]\nNumberOfEntries=3\nFile1=sub/Canción uno.ogg\nTitle1=Uno\n"
            "File2=http://radio.invalid/stream\nFile3=/abs/dos.mp3\nLength3=200\nVersion=2\n"));
        const QString xspf = m_folder->filePath("lista.xspf");
        QVERIFY(writeFile(xspf,
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\"><trackList>"
            "<track><location>file:///abs/tres%20y%20cuatro.opus</location><title>T</title></track>"
            "<track><location>cinco.m4a</location></track>"
            "</trackList></playlist>\n"));
        fakes.common.answers = { pls, xspf };
        w.cmdLoad_Click();
        w.cmdLoad_Click();
        const QString here = m_folder->path() + "/";
        QCOMPARE(rows(w),
            (QStringList { "/m/ya.mp3|ya.mp3", here + "sub/Canción uno.ogg|Canción uno.ogg",
                "/abs/dos.mp3|dos.mp3", "/abs/tres y cuatro.opus|tres y cuatro.opus",
                here + "cinco.m4a|cinco.m4a" }));
        QVERIFY(fakes.messages.shown.isEmpty());
    }

    // Another player's playlist that is not one, or holds more than there is room for, shows
    // the load message; the rows that fit stay.
    void otherPlayersPlaylistFailures()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        const QString garbage = m_folder->filePath("basura.xspf");
        QVERIFY(writeFile(garbage, QByteArray("\x00\xff<playlist", 11)));
        const QString m3u = m_folder->filePath("larga.m3u");
        QVERIFY(writeFile(m3u, "#EXTM3U\n/m/1.mp3\n/m/2.mp3\n/m/3.mp3\n"));
        fillPlaylist(w, QStringList(32765, "/m/x.mp3"));
        fakes.common.answers = { garbage, m3u };
        w.cmdLoad_Click();
        QCOMPARE(w.playlist().count(), 32765);
        w.cmdLoad_Click();
        QCOMPARE(fakes.messages.shown, (QStringList { kLoadError, kLoadError }));
        QCOMPARE(w.playlist().count(), 32767);
        QCOMPARE(w.playlist().pathAt(32766), QStringLiteral("/m/2.mp3"));
    }

private:
    void rememberFolder(const QString &folder)
    {
        QVERIFY(writeFile(m_folder->filePath("Dir.txt"), folder.toUtf8() + "\r\n"));
    }

    std::optional<QTemporaryDir> m_folder;
};

QTEST_MAIN(PlaylistFiles)
#include "playlistfiles.moc"

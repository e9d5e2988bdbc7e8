#include "app/programfolder.h"
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
    // with its flag word; a cancel writes, adds and reports nothing.
    void dialogsPreparedAndCancelled()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fillPlaylist(w, { "/m/a.mp3" });
        fakes.common.InitDir = "/somewhere/else";
        fakes.common.answers = { QString() };
        click(w, "cmdSave");
        QCOMPARE(fakes.common.shown, (QStringList { "save " + m_folder->path() }));
        QCOMPARE(fakes.common.lastFilter, QStringLiteral("SMP Files(*.smp)|*.smp"));
        fakes.common.InitDir = "/somewhere/else";
        fakes.common.FileName = "/old/choice.smp";
        fakes.common.answers = { QString() };
        click(w, "cmdLoad");
        QCOMPARE(fakes.common.shown.last(), "open " + m_folder->path());
        QCOMPARE(fakes.common.lastFilter, QStringLiteral("SMP Files(*.smp)|*.smp"));
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

private:
    void rememberFolder(const QString &folder)
    {
        QVERIFY(writeFile(m_folder->filePath("Dir.txt"), folder.toUtf8() + "\r\n"));
    }

    std::optional<QTemporaryDir> m_folder;
};

QTEST_MAIN(PlaylistFiles)
#include "playlistfiles.moc"

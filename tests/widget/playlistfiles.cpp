#include "app/programfolder.h"
#include "fakes.h"
#include "playlist/playlistfile.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

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
} // namespace

class PlaylistFiles : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_folder.emplace();
        QVERIFY(m_folder->isValid());
        setProgramFolder(m_folder->path());
        m_music = m_folder->filePath("Musica") + "/";
        QVERIFY(QDir().mkpath(m_music));
    }

    // Saving then loading the same file doubles every entry, same order, same paths.
    void saveThenLoadDoublesThePlaylist()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        rememberFolder(m_music);
        w.appendEntry(m_music + "uno.mp3", "uno.mp3");
        w.appendEntry(m_music + "Rock, Pop.mp3", "Rock, Pop.mp3");
        w.appendEntry(m_music + "dos.mid", "dos.mid");
        const QString list = m_folder->filePath("lista.smp");
        fakes.common.answers = { list, list };
        w.cmdSave_Click();
        QCOMPARE(readFile(list), QByteArray("uno.mp3\r\nRock, Pop.mp3\r\ndos.mid\r\n"));
        w.cmdLoad_Click();
        QCOMPARE(w.rowCount(), 6);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(w.pathAt(row + 3), w.pathAt(row));
            QCOMPARE(w.nameAt(row + 3), w.nameAt(row));
        }
        QVERIFY(fakes.messages.shown.isEmpty());
    }

    // Both dialogs start in the program's folder with the playlist filter; the open dialog
    // gets its flag word.
    void dialogsPrepared()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fakes.common.InitDir = "/somewhere/else";
        fakes.common.answers = { QString() };
        w.cmdSave_Click();
        QCOMPARE(fakes.common.shown, (QStringList { "save " + m_folder->path() }));
        QCOMPARE(fakes.common.lastFilter, QStringLiteral("SMP Files(*.smp)|*.smp"));
        fakes.common.InitDir = "/somewhere/else";
        fakes.common.FileName = "/old/choice.smp";
        fakes.common.answers = { QString() };
        w.cmdLoad_Click();
        QCOMPARE(fakes.common.shown.last(), "open " + m_folder->path());
        QCOMPARE(fakes.common.lastFilter, QStringLiteral("SMP Files(*.smp)|*.smp"));
        QCOMPARE(fakes.common.lastFlags, qint16(16384));
        // A cancel, even after an earlier choice and with no remembered folder, does nothing.
        QCOMPARE(w.rowCount(), 0);
        QVERIFY(fakes.messages.shown.isEmpty());
        QCOMPARE(QDir(m_folder->path()).entryList(QDir::Files), QStringList {});
    }

    // Tracks from two folders all come back pointing into the remembered folder.
    void loadedPathsUseTheRememberedFolder()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.appendEntry("/discos/a/uno.mp3", "uno.mp3");
        w.appendEntry("/discos/b/dos.wav", "dos.wav");
        rememberFolder("/discos/b/");
        const QString list = m_folder->filePath("dos carpetas.smp");
        fakes.common.answers = { list, list };
        w.cmdSave_Click();
        while (w.rowCount() > 0)
            w.removeEntry(0);
        w.cmdLoad_Click();
        QCOMPARE(entries(w), (QStringList { "/discos/b/uno.mp3|uno.mp3", "/discos/b/dos.wav|dos.wav" }));
    }

    // The file goes exactly where the user closed the dialog, under the name typed, with
    // no extension added; an empty playlist is an empty file, and loading it adds nothing.
    void emptyPlaylistWrittenWhereChosen()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        rememberFolder(m_music);
        const QString elsewhere = m_folder->filePath("otra") + "/";
        QVERIFY(QDir().mkpath(elsewhere));
        fakes.common.answers = { elsewhere + "mix", elsewhere + "mix" };
        w.cmdSave_Click();
        QVERIFY(QFileInfo(elsewhere + "mix").isFile());
        QCOMPARE(QFileInfo(elsewhere + "mix").size(), 0);
        QVERIFY(!QFileInfo::exists(m_folder->filePath("mix")));
        w.cmdLoad_Click();
        QCOMPARE(w.rowCount(), 0);
        QVERIFY(fakes.messages.shown.isEmpty());
    }

    // A hand-edited file: any line end, an empty line (the folder itself), a Windows
    // accent, no end on the last line.
    void handEditedFile()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        rememberFolder(m_music);
        w.appendEntry("/antes/ya.mp3", "ya.mp3");
        const QString list = m_folder->filePath("a mano.smp");
        QVERIFY(writeFile(list, "uno.mp3\n\r\ncanci\xf3n.mp3\rdos.mid"));
        fakes.common.answers = { list, list };
        w.cmdLoad_Click();
        QCOMPARE(entries(w),
            (QStringList { "/antes/ya.mp3|ya.mp3", m_music + "uno.mp3|uno.mp3", m_music + "|",
                m_music + "canción.mp3|canción.mp3", m_music + "dos.mid|dos.mid" }));
        // Loading again appends every entry once more.
        w.cmdLoad_Click();
        QCOMPARE(w.rowCount(), 9);
        QCOMPARE(w.nameAt(8), QStringLiteral("dos.mid"));
        QVERIFY(fakes.messages.shown.isEmpty());
    }

    // Loading changes neither the current track nor the selection.
    void loadLeavesTheCurrentTrack()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        rememberFolder(m_music);
        w.appendEntry(m_music + "a.mp3", "a.mp3");
        w.appendEntry(m_music + "b.mp3", "b.mp3");
        w.SongIndex = 1;
        w.SongPath = m_music + "b.mp3";
        w.SongName = "b.mp3";
        const QString list = m_folder->filePath("l.smp");
        QVERIFY(writeFile(list, "c.mp3\r\n"));
        fakes.common.answers = { list };
        w.cmdLoad_Click();
        QCOMPARE(w.rowCount(), 3);
        QCOMPARE(w.SongIndex, qint16(1));
        QCOMPARE(w.SongPath, m_music + "b.mp3");
        QCOMPARE(w.SongName, QStringLiteral("b.mp3"));
        QVERIFY(fakes.engine.calls.isEmpty());
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
        QCOMPARE(w.rowCount(), 0);
        QCOMPARE(w.NameList->count(), 0);
    }

    // Loading stops at 32767 rows, keeps what fit and reports the rest as a failure.
    void loadStopsAtCapacity()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        rememberFolder(m_music);
        for (int row = 0; row < 32760; ++row)
            w.appendEntry(m_music + "x.mp3", "x.mp3");
        const QString list = m_folder->filePath("l.smp");
        QVERIFY(writeFile(list, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n"));
        fakes.common.answers = { list };
        w.cmdLoad_Click();
        QCOMPARE(fakes.messages.shown, QStringList { kLoadError });
        QCOMPARE(w.rowCount(), 32767);
        QCOMPARE(w.NameList->count(), 32767);
        QCOMPARE(w.nameAt(32766), QStringLiteral("7"));
    }

    // A file too long to be any playlist is read only in part: its whole lines are loaded,
    // then the failure shows.
    void overlongFileLoadsItsHead()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        rememberFolder(m_music);
        QByteArray bytes("a.mp3\r\n");
        bytes += QByteArray(17 * 1024 * 1024, 'z');
        const QString list = m_folder->filePath("largo.smp");
        QVERIFY(writeFile(list, bytes));
        fakes.common.answers = { list };
        w.cmdLoad_Click();
        QCOMPARE(fakes.messages.shown, QStringList { kLoadError });
        QCOMPARE(entries(w), QStringList { m_music + "a.mp3|a.mp3" });
    }

    // A name with a line break refuses the save with the save error, and the old file stays.
    void lineBreakRefusesTheSave()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        const QString list = m_folder->filePath("l.smp");
        QVERIFY(writeFile(list, "viejo.mp3\r\n"));
        w.appendEntry(m_music + "bien.mp3", "bien.mp3");
        w.appendEntry(m_music + "dos\nlineas.mp3", "dos\nlineas.mp3");
        fakes.common.answers = { list };
        w.cmdSave_Click();
        QCOMPARE(fakes.messages.shown, QStringList { kSaveError });
        QCOMPARE(readFile(list), QByteArray("viejo.mp3\r\n"));
    }

    // A save into a read-only folder is reported and leaves the old file as it was. Root
    // may write anywhere, so as root the case runs again as an unprivileged user.
    void saveIntoReadOnlyFolderReported()
    {
        if (::geteuid() == 0) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QStringLiteral("setpriv"),
                { "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--",
                    QCoreApplication::applicationFilePath(), "saveIntoReadOnlyFolderReported" });
            QVERIFY(child.waitForFinished(120000));
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            QCOMPARE(child.exitCode(), 0);
            return;
        }
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        const QString locked = m_folder->filePath("bloqueada");
        QVERIFY(QDir().mkpath(locked));
        const QString list = locked + "/l.smp";
        QVERIFY(writeFile(list, "viejo.mp3\r\n"));
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
        w.appendEntry(m_music + "nuevo.mp3", "nuevo.mp3");
        fakes.common.answers = { list };
        w.cmdSave_Click();
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(fakes.messages.shown, QStringList { kSaveError });
        QCOMPARE(readFile(list), QByteArray("viejo.mp3\r\n"));
    }

private:
    void rememberFolder(const QString &folder)
    {
        QVERIFY(writeFile(m_folder->filePath("Dir.txt"), folder.toUtf8() + "\r\n"));
    }

    static QStringList entries(const frmMP3 &w)
    {
        QStringList rows;
        for (int row = 0; row < w.rowCount(); ++row)
            rows << w.pathAt(row) + "|" + w.nameAt(row);
        return rows;
    }

    std::optional<QTemporaryDir> m_folder;
    QString m_music;
};

QTEST_MAIN(PlaylistFiles)
#include "playlistfiles.moc"

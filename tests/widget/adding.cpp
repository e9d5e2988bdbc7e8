#include "app/programfolder.h"
#include "fakes.h"
#include "playlist/mediatypes.h"
#include "playlist/playlistbox.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

class Adding : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_folder.emplace();
        QVERIFY(m_folder->isValid());
        setProgramFolder(m_folder->path());
    }

    // The first track added becomes the current one, and its folder is remembered in
    // Dir.txt and given to the next showing of the dialog.
    void firstAdd()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fakes.cmdlg.answers = { QStringLiteral("/música/tema.mp3"), QStringLiteral("/otra/dos.wav") };
        w.cdmAdd_Click();
        QCOMPARE(fakes.cmdlg.lastFilter, addFilter());
        QCOMPARE(rows(w), (QStringList { "/música/tema.mp3|tema.mp3" }));
        QCOMPARE(w.SongPath, QStringLiteral("/música/tema.mp3"));
        QCOMPARE(w.SongName, QStringLiteral("tema.mp3"));
        QCOMPARE(dirFile(), QByteArray("/m\xc3\xbasica/\r\n"));
        QCOMPARE(fakes.cmdlg.InitDir, QStringLiteral("/música/"));

        w.Add->trigger();
        QCOMPARE(fakes.cmdlg.shown, (QStringList { "open ", "open /música/" }));
        QCOMPARE(dirFile(), QByteArray("/otra/\r\n"));
        QCOMPARE(w.SongName, QStringLiteral("tema.mp3"));
        QVERIFY(fakes.engine.calls.isEmpty());
    }

    // Adding while row 2 plays appends at the end and keeps row 2 current; the same file
    // may be added twice.
    void addKeepsCurrentRow()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        for (const char *name : { "a.mp3", "b.mp3", "c.mp3", "d.mp3", "e.mp3", "c.mp3" })
            fakes.cmdlg.answers.push_back(QStringLiteral("/m/") + QLatin1String(name));
        for (int i = 0; i < 5; ++i)
            w.cdmAdd_Click();
        w.SongIndex = 2;
        w.SongPath = w.pathAt(2);
        w.SongName = w.nameAt(2);
        w.cdmAdd_Click();
        QCOMPARE(w.rowCount(), 6);
        QCOMPARE(w.NameList->count(), 6);
        QCOMPARE(w.pathAt(5), w.pathAt(2));
        QCOMPARE(w.nameAt(5), QStringLiteral("c.mp3"));
        QCOMPARE(w.SongIndex, qint16(2));
        QCOMPARE(w.SongPath, QStringLiteral("/m/c.mp3"));
        QVERIFY(w.PlayList->selectedItems().isEmpty());
    }

    // A file in the root folder gives the root with its separator.
    void rootFolder()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fakes.cmdlg.answers = { QStringLiteral("/tema.mp3") };
        w.cdmAdd_Click();
        QCOMPARE(dirFile(), QByteArray("/\r\n"));
        QCOMPARE(fakes.cmdlg.InitDir, QStringLiteral("/"));
    }

    // A cancelled dialog touches no list, variable or file.
    void cancelChangesNothing()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fakes.cmdlg.answers = { QStringLiteral("/m/a.mp3"), QString() };
        w.cdmAdd_Click();
        w.SongName = QStringLiteral("puesto");
        w.cdmAdd_Click();
        QCOMPARE(rows(w), (QStringList { "/m/a.mp3|a.mp3" }));
        QCOMPARE(w.SongName, QStringLiteral("puesto"));
        QCOMPARE(dirFile(), QByteArray("/m/\r\n"));

        FakePlatform fresh;
        frmMP3 other(fresh.platform());
        QFile::remove(besideProgram(QStringLiteral("Dir.txt")));
        other.cdmAdd_Click();
        QCOMPARE(other.rowCount(), 0);
        QVERIFY(other.SongPath.isEmpty());
        QVERIFY(!QFile::exists(besideProgram(QStringLiteral("Dir.txt"))));
    }

    // A program folder that cannot be written still lets the track be added; the dialog
    // keeps the folder it had.
    void unwritableFolder()
    {
        setProgramFolder(m_folder->filePath(QStringLiteral("no/such/folder")));
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fakes.cmdlg.InitDir = QStringLiteral("/antes/");
        fakes.cmdlg.answers = { QStringLiteral("/m/a.mp3") };
        w.cdmAdd_Click();
        QCOMPARE(rows(w), (QStringList { "/m/a.mp3|a.mp3" }));
        QCOMPARE(w.SongPath, QStringLiteral("/m/a.mp3"));
        QCOMPARE(fakes.cmdlg.InitDir, QStringLiteral("/antes/"));
    }

private:
    static QStringList rows(const frmMP3 &w)
    {
        QStringList out;
        for (int i = 0; i < w.rowCount(); ++i)
            out << w.pathAt(i) + QLatin1Char('|') + w.nameAt(i);
        return out;
    }

    static QByteArray dirFile()
    {
        QFile file(besideProgram(QStringLiteral("Dir.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    std::optional<QTemporaryDir> m_folder;
};

QTEST_MAIN(Adding)
#include "adding.moc"

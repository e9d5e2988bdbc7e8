#include "files/mediatypes.h"
#include "playertest.h"

#include <QtTest>

class Adding : public QObject {
    Q_OBJECT
private slots:
    void addRemembersFolder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("folder");
        QTest::newRow("accented folder") << "/música/tema.mp3"
                                         << "/música/";
        QTest::newRow("root folder") << "/tema.mp3"
                                     << "/";
    }

    // A chosen file is appended and becomes the current track, and its folder, separator
    // included, is remembered for the next showing; a cancel changes nothing.
    void addRemembersFolder()
    {
        QFETCH(QString, path);
        QFETCH(QString, folder);
        PlayerRig r;
        r.fakes.cmdlg.answers = { QString(), path, QString() };
        r.p.cdmAdd_Click();
        QCOMPARE(r.p.playlist().count(), 0);
        QVERIFY(!QFile::exists(besideProgram("Dir.txt")));

        r.p.cdmAdd_Click();
        r.p.cdmAdd_Click();
        QCOMPARE(r.fakes.cmdlg.lastFilter, addFilter());
        QCOMPARE(r.fakes.cmdlg.shown, (QStringList { "open ", "open ", "open " + folder }));
        QCOMPARE(r.p.playlist().count(), 1);
        QCOMPARE(r.p.playlist().pathAt(0), path);
        QCOMPARE(r.state().SongPath(), path);
        QCOMPARE(r.state().SongName(), path.mid(folder.size()));
        QCOMPARE(readFile(besideProgram("Dir.txt")), folder.toUtf8() + "\r\n");
        QVERIFY(r.fakes.engine.calls.isEmpty());
    }

    // Adding appends at the end and keeps the current row, highlighting nothing; the same
    // file may come twice.
    void addKeepsCurrentRow()
    {
        PlayerRig r;
        fillPlaylist(r.p, { "/m/a.mp3", "/m/b.mp3", "/m/c.mp3" });
        r.state().setSongIndex(2);
        r.fakes.cmdlg.answers = { QStringLiteral("/m/c.mp3") };
        r.p.cdmAdd_Click();
        QCOMPARE(r.p.playlist().names(), (QStringList { "a.mp3", "b.mp3", "c.mp3", "c.mp3" }));
        QCOMPARE(r.p.playlist().pathAt(3), QStringLiteral("/m/c.mp3"));
        QCOMPARE(r.state().SongIndex(), qint16(2));
        QCOMPARE(r.state().SongPath(), QStringLiteral("/m/c.mp3"));
        QCOMPARE(r.p.selectedRow(), -1);
    }

    // A program folder that cannot be written still lets the track be added; the dialog
    // keeps the folder it had.
    void unwritableFolder()
    {
        PlayerRig r;
        setProgramFolder(r.folder.filePath(QStringLiteral("no/such/folder")));
        r.fakes.cmdlg.InitDir = QStringLiteral("/antes/");
        r.fakes.cmdlg.answers = { QStringLiteral("/m/a.mp3") };
        r.p.cdmAdd_Click();
        QCOMPARE(r.p.playlist().pathAt(0), QStringLiteral("/m/a.mp3"));
        QCOMPARE(r.state().SongPath(), QStringLiteral("/m/a.mp3"));
        QCOMPARE(r.fakes.cmdlg.InitDir, QStringLiteral("/antes/"));
    }
};

QTEST_GUILESS_MAIN(Adding)
#include "adding.moc"

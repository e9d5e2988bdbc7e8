#include "windowfakes.h"
#include "files/programfolder.h"
#include "playlist/mediatypes.h"
#include "window.h"

#include <QFile>
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
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        fakes.cmdlg.answers = { QString(), path, QString() };
        click(w, "cdmAdd");
        QCOMPARE(w.player().playlist().count(), 0);
        QVERIFY(!QFile::exists(besideProgram("Dir.txt")));

        click(w, "cdmAdd");
        trigger(w, "Add");
        QCOMPARE(fakes.cmdlg.lastFilter, addFilter());
        QCOMPARE(fakes.cmdlg.shown, (QStringList { "open ", "open ", "open " + folder }));
        QCOMPARE(w.player().playlist().count(), 1);
        QCOMPARE(w.player().playlist().pathAt(0), path);
        QCOMPARE(w.player().state().SongPath(), path);
        QCOMPARE(w.player().state().SongName(), path.mid(folder.size()));
        QCOMPARE(dirFile(), folder.toUtf8() + "\r\n");
        QVERIFY(fakes.engine.calls.isEmpty());
    }

    // Adding appends at the end and keeps the current row; the same file may come twice.
    void addKeepsCurrentRow()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        fillPlaylist(w, { "/m/a.mp3", "/m/b.mp3", "/m/c.mp3" });
        w.player().state().setSongIndex(2);
        fakes.cmdlg.answers = { QStringLiteral("/m/c.mp3") };
        w.player().cdmAdd_Click();
        QCOMPARE(w.player().playlist().names(), (QStringList { "a.mp3", "b.mp3", "c.mp3", "c.mp3" }));
        QCOMPARE(w.player().playlist().pathAt(3), QStringLiteral("/m/c.mp3"));
        QCOMPARE(w.player().state().SongIndex(), qint16(2));
        QCOMPARE(w.player().state().SongPath(), QStringLiteral("/m/c.mp3"));
        QCOMPARE(highlightedRow(w), -1);
    }

    // A program folder that cannot be written still lets the track be added; the dialog
    // keeps the folder it had.
    void unwritableFolder()
    {
        setProgramFolder(m_folder->filePath(QStringLiteral("no/such/folder")));
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        fakes.cmdlg.InitDir = QStringLiteral("/antes/");
        fakes.cmdlg.answers = { QStringLiteral("/m/a.mp3") };
        w.player().cdmAdd_Click();
        QCOMPARE(w.player().playlist().pathAt(0), QStringLiteral("/m/a.mp3"));
        QCOMPARE(w.player().state().SongPath(), QStringLiteral("/m/a.mp3"));
        QCOMPARE(fakes.cmdlg.InitDir, QStringLiteral("/antes/"));
    }

private:
    static QByteArray dirFile()
    {
        QFile file(besideProgram(QStringLiteral("Dir.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    std::optional<QTemporaryDir> m_folder;
};

QTEST_MAIN(Adding)
#include "adding.moc"

#include "files/programfolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class ProgramFolder : public QObject {
    Q_OBJECT
private slots:
    // Files beside the program are the program's folder, a separator and the name.
    void besideTheProgram()
    {
        setProgramFolder(QStringLiteral("/opt/velumo"));
        QCOMPARE(besideProgram(QStringLiteral("Dir.txt")), QStringLiteral("/opt/velumo/Dir.txt"));
        QCOMPARE(
            besideProgram(QStringLiteral("Lyrics/tema.txt")), QStringLiteral("/opt/velumo/Lyrics/tema.txt"));
    }

    // A folder the player can write to stays the program's folder, and the probe leaves
    // nothing behind in it.
    void writableFolderIsKept()
    {
        QTemporaryDir exe;
        QTemporaryDir user;
        QCOMPARE(pickProgramFolder(exe.path(), user.path() + QStringLiteral("/data")), exe.path());
        QCOMPARE(QDir(exe.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
        QVERIFY(!QFile::exists(user.path() + QStringLiteral("/data")));
    }

    // When the executable's folder cannot be written, the per-user folder is used and made.
    void readOnlyFolderFallsBackToUserFolder()
    {
        QTemporaryDir user;
        const QString data = user.path() + QStringLiteral("/share/velumo");
        QCOMPARE(pickProgramFolder(QStringLiteral("/nonexistent/bin"), data), data);
        QVERIFY(QFileInfo(data).isDir());
    }
};

QTEST_GUILESS_MAIN(ProgramFolder)
#include "programfolder.moc"

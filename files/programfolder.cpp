#include "files/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {
QString &chosenFolder()
{
    static QString folder;
    return folder;
}

// Asking the file system is the only sure test: permission bits do not tell what a
// read-only mount or an access list allows.
bool canWriteIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".velumo-XXXXXX")));
    return probe.open();
}
} // namespace

QString programFolder()
{
    if (!chosenFolder().isEmpty())
        return chosenFolder();
    return QCoreApplication::applicationDirPath();
}

void setProgramFolder(const QString &folder)
{
    chosenFolder() = folder;
}

QString besideProgram(const QString &name)
{
    return QDir(programFolder()).filePath(name);
}

QString pickProgramFolder(const QString &executableFolder, const QString &userFolder)
{
    if (canWriteIn(executableFolder))
        return executableFolder;
    QDir().mkpath(userFolder);
    return userFolder;
}

void chooseProgramFolder()
{
    setProgramFolder(pickProgramFolder(QCoreApplication::applicationDirPath(),
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
}

#include "app/programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString &chosenFolder()
{
    static QString folder;
    return folder;
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

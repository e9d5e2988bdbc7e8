#pragma once

#include <QString>

// The program's folder: the folder that holds the executable, unless the start-up chose
// another one (tests give each run a folder of its own). Files "beside the program" are
// that folder, a separator and their name.
QString programFolder();
void setProgramFolder(const QString &folder);
QString besideProgram(const QString &name);

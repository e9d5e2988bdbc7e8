#pragma once

#include <QString>

// The program's folder: where the player keeps Dir.txt and Pic.txt and finds its Lyrics
// folder. Files "beside the program" are that folder, a separator and their name.
QString programFolder();
void setProgramFolder(const QString &folder);
QString besideProgram(const QString &name);

// Chooses the program's folder once at start: the folder that holds the executable when
// the player can write there, otherwise the user's own data folder (created when needed),
// so that an installed player still remembers what the user chose.
void chooseProgramFolder();
// The same choice, for the executable's folder and the per-user folder given.
QString pickProgramFolder(const QString &executableFolder, const QString &userFolder);

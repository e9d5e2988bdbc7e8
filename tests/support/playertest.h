#pragma once

// What the player's tests share: a player on fakes in a program folder of its own, its
// playlist filled and clicked as a user would, files written and read back.

#include "fakes.h"
#include "files/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <utility>

// Rows of {path, name}, each name the path's last part.
inline void fillPlaylist(Player &player, const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths)
        names << path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    player.playlist().append(paths, names);
}

// Highlights row and tells the player, as a click on it in the list view does.
inline void clickRow(Player &player, int row)
{
    player.selection()->setCurrentIndex(player.playlist().index(row), QItemSelectionModel::ClearAndSelect);
    player.PlayList_Click();
}

inline bool clockRuns(const Player &player)
{
    return player.findChild<QTimer *>(QStringLiteral("Timer"))->isActive();
}

// Writes bytes to path, its folder made first, as last changed secondsOld ago.
inline bool writeFile(const QString &path, const QByteArray &bytes, qint64 secondsOld = 0)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly)
        && file.write(bytes) == bytes.size() && file.flush()
        && file.setFileTime(
            QDateTime::currentDateTime().addSecs(-secondsOld), QFileDevice::FileModificationTime);
}

// Writes a file of the Lyrics folder beside the program.
inline void writeLyrics(const QString &name, const QByteArray &bytes)
{
    QVERIFY(writeFile(besideProgram(QStringLiteral("Lyrics/") + name), bytes));
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A program folder of its own, where Dir.txt, Pic.txt and the Lyrics go.
struct ProgramFolder : QTemporaryDir {
    ProgramFolder() { setProgramFolder(path()); }
};

struct PlayerRig {
    ProgramFolder folder;
    FakeParts fakes;
    Player p { fakes.parts() };

    PlayerState &state() { return p.state(); }
    QStringList takeCalls() { return std::exchange(fakes.engine.calls, {}); }
};

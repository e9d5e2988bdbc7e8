#include "files/mediatypes.h"
#include "files/programfolder.h"
#include "files/textfiles.h"
#include "player/filedialog.h"
#include "player/messagebox.h"
#include "player/player.h"
#include "playlist/playlistformats.h"
#include "playlist/smpfile.h"

#include <algorithm>

namespace {
// The player's own playlists come first and stay the default; other players' follow.
const QString kOpenFilter = QStringLiteral("SMP Files(*.smp)|*.smp"
                                           "|Todas las listas|*.m3u;*.m3u8;*.pls;*.xspf;*.wpl;*.asx"
                                           "|M3U y M3U8 (*.m3u *.m3u8)|*.m3u;*.m3u8"
                                           "|PLS (*.pls)|*.pls"
                                           "|XSPF (*.xspf)|*.xspf"
                                           "|WPL y ASX (*.wpl *.asx)|*.wpl;*.asx");
const QString kSaveFilter = QStringLiteral("SMP Files(*.smp)|*.smp|M3U8 (*.m3u8)|*.m3u8");
const QStringList kSaveExtensions { QString(), QStringLiteral("m3u8") };
constexpr int kSaveM3u8Entry = 2;

// Appends the playlist file's entries, each name behind the folder of the last added track and
// each address as a stream of its own. False at the first failure; the entries appended before
// it stay. Only a list of nothing but streams loads without the folder.
bool appendPlaylist(PlaylistModel &playlist, const QString &path)
{
    // One name more than there is room for lets a full playlist show as a failure.
    const auto read = readSmpFile(path, kPlaylistCapacity - playlist.count() + 1);
    if (!read)
        return false;
    const bool onlyStreams
        = !read->names.isEmpty() && std::all_of(read->names.cbegin(), read->names.cend(), isStreamAddress);
    const auto folder = readSettingLine(besideProgram(QStringLiteral("Dir.txt")));
    if (!folder && !onlyStreams)
        return false;
    QStringList paths;
    paths.reserve(read->names.size());
    for (const QString &name : read->names)
        paths << (isStreamAddress(name) ? name : *folder + name);
    return playlist.append(paths, read->names) && read->complete;
}

// Appends the local files and streams another player's playlist names, as rowName names them.
// False when the file cannot be read as its format or holds more than there is room for; what
// fit stays.
bool appendForeignPlaylist(PlaylistModel &playlist, const QString &path)
{
    const auto entries = readPlaylistFile(path, kPlaylistCapacity - playlist.count() + 1);
    if (!entries)
        return false;
    QStringList paths;
    QStringList names;
    paths.reserve(entries->size());
    names.reserve(entries->size());
    for (const PlaylistEntry &entry : *entries) {
        paths << entry.path;
        names << rowName(entry);
    }
    return playlist.append(paths, names);
}
} // namespace

void Player::cmdSave_Click()
{
    common->Filter = kSaveFilter;
    common->InitDir = programFolder();
    common->FileName = QString();
    common->DefaultExtensions = kSaveExtensions;
    common->ShowSave();
    if (common->FileName.isEmpty())
        return;

    if (!savePlaylist(*m_playlist, common->FileName, common->FilterIndex == kSaveM3u8Entry))
        m_messages->error(QStringLiteral("No se pudo guardar el archivo"), QStringLiteral("Error"));
}

void Player::cmdLoad_Click()
{
    common->Flags = 16384;
    common->FileName = QString();
    common->InitDir = programFolder();
    common->Filter = kOpenFilter;
    common->ShowOpen();
    if (common->FileName.isEmpty())
        return;

    // The file's name tells its format, whichever filter showed it; any other name is read
    // as the player's own playlist.
    const bool appended = playlistFormatOf(common->FileName)
        ? appendForeignPlaylist(*m_playlist, common->FileName)
        : appendPlaylist(*m_playlist, common->FileName);
    if (!appended)
        m_messages->error(QStringLiteral("No se encontró el archivo"), QStringLiteral("Error"));
}

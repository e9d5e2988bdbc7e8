#include "app/filedialog.h"
#include "app/frmMP3.h"
#include "app/messagebox.h"
#include "app/programfolder.h"
#include "app/textfiles.h"
#include "playlist/playlistfile.h"

#include <QSaveFile>

namespace {
const QString kPlaylistFilter = QStringLiteral("SMP Files(*.smp)|*.smp");

// A playlist of full rows with the longest names a file system allows (255 bytes) fits
// well below this; whatever lies beyond it could never fit in the playlist anyway.
constexpr qint64 kMaxPlaylistBytes = 16 * 1024 * 1024;

bool writePlaylist(const QString &path, const QByteArray &bytes)
{
    // The old file is replaced only once the new one is wholly written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

struct PlaylistRead {
    QStringList names;
    // False when the file was too long to be read whole.
    bool complete = true;
};

std::optional<PlaylistRead> readPlaylist(const QString &path, qsizetype maxNames)
{
    const auto bytes = readRegularFile(path, kMaxPlaylistBytes + 1);
    if (!bytes)
        return std::nullopt;
    if (bytes->size() <= kMaxPlaylistBytes)
        return PlaylistRead { decodePlaylist(*bytes, maxNames), true };
    return PlaylistRead { decodePlaylist(completeLines(bytes->first(kMaxPlaylistBytes)), maxNames), false };
}

// Appends the playlist file's entries, each name behind the folder of the last added
// track. False at the first failure; the entries appended before it stay.
bool appendPlaylist(PlaylistModel &playlist, const QString &path)
{
    const auto folder = readSettingLine(besideProgram(QStringLiteral("Dir.txt")));
    if (!folder)
        return false;
    // One name more than there is room for lets a full playlist show as a failure.
    const auto read = readPlaylist(path, kPlaylistCapacity - playlist.count() + 1);
    if (!read)
        return false;
    QStringList paths;
    paths.reserve(read->names.size());
    for (const QString &name : read->names)
        paths << *folder + name;
    return playlist.append(paths, read->names) && read->complete;
}
} // namespace

void frmMP3::cmdSave_Click()
{
    common->Filter = kPlaylistFilter;
    common->InitDir = programFolder();
    common->FileName = QString();
    common->ShowSave();
    if (common->FileName.isEmpty())
        return;

    const auto bytes = encodePlaylist(m_playlist->names());
    if (!bytes || !writePlaylist(common->FileName, *bytes))
        m_messages->error(QStringLiteral("No se pudo guardar el archivo"), QStringLiteral("Error"));
}

void frmMP3::cmdLoad_Click()
{
    common->Flags = 16384;
    common->FileName = QString();
    common->InitDir = programFolder();
    common->Filter = kPlaylistFilter;
    common->ShowOpen();
    if (common->FileName.isEmpty())
        return;

    if (!appendPlaylist(*m_playlist, common->FileName))
        m_messages->error(QStringLiteral("No se encontró el archivo"), QStringLiteral("Error"));
}

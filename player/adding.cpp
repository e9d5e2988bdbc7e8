#include "files/mediatypes.h"
#include "files/programfolder.h"
#include "files/textfiles.h"
#include "player/filedialog.h"
#include "player/player.h"

namespace {

// The folder of the chosen file, with the separator before the file's name: the path less
// as many characters as the file's title has.
std::optional<QString> chosenFolder(const QString &fileName, const QString &fileTitle)
{
    const qsizetype length = fileName.size() - fileTitle.size();
    if (length < 0)
        return std::nullopt;
    return fileName.first(length);
}

} // namespace

void Player::cdmAdd_Click()
{
    Cmdlg->Filter = addFilter();
    Cmdlg->FileName.clear();
    Cmdlg->ShowOpen();
    if (Cmdlg->FileName.isEmpty())
        return;

    addTrack(Cmdlg->FileName, Cmdlg->FileTitle);
}

void Player::addTrack(const QString &fileName, const QString &fileTitle)
{
    // From here a step that fails is passed over silently: a program folder that cannot
    // be written still lets the track be added, and the next showing opens in the folder
    // read back from the file. A stream lies in no folder, and the player's own playlists
    // keep standing behind the folder of the last file.
    const QString remembered = besideProgram(QStringLiteral("Dir.txt"));
    if (const auto folder = chosenFolder(fileName, fileTitle); folder && !isStreamAddress(fileName))
        writeSettingLine(remembered, *folder);
    if (const auto initDir = readSettingLine(remembered))
        Cmdlg->InitDir = *initDir;
    m_playlist->append(fileName, fileTitle);
    m_state->setSongPath(m_playlist->pathAt(m_state->SongIndex()));
    m_state->setSongName(m_playlist->nameAt(m_state->SongIndex()));
}

#include "app/filedialog.h"
#include "app/frmMP3.h"
#include "app/programfolder.h"
#include "app/textfiles.h"

namespace {

// The folder of the chosen file, with the separator before the file's name: the path less
// as many characters as the file's title has.
std::optional<QString> chosenFolder(const FileDialog &dialog)
{
    const qsizetype length = dialog.FileName.size() - dialog.FileTitle.size();
    if (length < 0)
        return std::nullopt;
    return dialog.FileName.first(length);
}

} // namespace

void frmMP3::cdmAdd_Click()
{
    Cmdlg->Filter = QStringLiteral(
        "MP3 Files(*.mp3)|*.mp3|Midi Files (*.mid)|*.mid|Wav Files (*.wav)|*.wav|Mpg Files (*.mpg)|*.mpg");
    Cmdlg->FileName.clear();
    Cmdlg->ShowOpen();
    if (Cmdlg->FileName.isEmpty())
        return;

    // From here a step that fails is passed over silently: a program folder that cannot
    // be written still lets the track be added, and the next showing opens in the folder
    // read back from the file.
    const QString remembered = besideProgram(QStringLiteral("Dir.txt"));
    if (const auto folder = chosenFolder(*Cmdlg))
        writeSettingLine(remembered, *folder);
    if (const auto initDir = readSettingLine(remembered))
        Cmdlg->InitDir = *initDir;
    appendEntry(Cmdlg->FileName, Cmdlg->FileTitle);
    SongPath = pathAt(SongIndex);
    SongName = nameAt(SongIndex);
}

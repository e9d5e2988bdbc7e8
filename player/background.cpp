#include "files/programfolder.h"
#include "files/textfiles.h"
#include "player/filedialog.h"
#include "player/player.h"

// Neither command tells the user of a failure: a picture that cannot be loaded leaves the
// window's plain background, and a "Pic.txt" that cannot be written is not remembered.

void Player::BackPic_Click()
{
    Cmdlg->Filter = QStringLiteral("BMP Files(*.bmp)|*.bmp|JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif");
    Cmdlg->FileName = QString();
    Cmdlg->ShowOpen();
    if (Cmdlg->FileName.isEmpty())
        return;
    m_state->setBackgroundPath(Cmdlg->FileName);
    // The choice is remembered even when it is no picture, as the user made it.
    writeSettingLine(besideProgram(QStringLiteral("Pic.txt")), Cmdlg->FileName);
}

void Player::restoreBackground()
{
    const auto path = readSettingLine(besideProgram(QStringLiteral("Pic.txt")));
    if (!path)
        return;
    m_state->setBackgroundPath(*path);
}

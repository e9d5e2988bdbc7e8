#include "app/frmMP3.h"
#include "extras/frmLyrics.h"
#include "extras/trayicon.h"
#include "player/player.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMenu>

void frmMP3::IconoBarra_RestoreRequested()
{
    OpenPlayer_Click();
}

void frmMP3::IconoBarra_MenuRequested()
{
    MnuIcono->popup(QCursor::pos());
}

void frmMP3::AboutIcono_Click()
{
    showAbout();
}

// The lyrics window comes back with the player even when the user had hidden it.
void frmMP3::OpenPlayer_Click()
{
    show();
    raise();
    lyricsWindow()->show();
}

void frmMP3::QuitIcono_Click()
{
    m_state->setResident(false);
    IconoBarra->RemoveIcon();
    close();
    delete m_lyrics.data();
    m_player.stopEngine();
    // Leaving the event loop directly, rather than asking each window to close, ends the
    // player at once with any information window still open and no handler run after this.
    QCoreApplication::exit(0);
}

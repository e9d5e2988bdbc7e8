#include "app/frmMP3.h"
#include "extras/frmLyrics.h"
#include "extras/trayicon.h"
#include "info/frmAcerca.h"
#include "info/frmEaster.h"
#include "info/frmHelp.h"
#include "player/player.h"

void frmMP3::Form_Load()
{
    // The icon goes up first, before any settings file is read.
    IconoBarra->AddIcon();
    m_player.restoreBackground();
}

bool frmMP3::Form_Unload()
{
    if (!m_state->resident())
        return false;
    // Without a notification area a hidden player could be neither reached nor ended,
    // so closing it ends it instead.
    if (!IconoBarra->isAvailable()) {
        QuitIcono_Click();
        return false;
    }
    hide();
    lyricsWindow()->hide();
    return true;
}

void frmMP3::Exit_Click()
{
    if (!IconoBarra->isAvailable()) {
        QuitIcono_Click();
        return;
    }
    hide();
    lyricsWindow()->hide();
}

void frmMP3::HelpMe_Click()
{
    if (!m_help)
        m_help = new frmHelp;
    m_help->show();
    m_help->raise();
}

void frmMP3::AboutOf_Click()
{
    showAbout();
}

void frmMP3::showAbout()
{
    if (!m_about)
        m_about = new frmAcerca(m_links);
    m_about->show();
    m_about->raise();
}

void frmMP3::showGreeting()
{
    if (!m_easter)
        m_easter = new frmEaster;
    m_easter->show();
    m_easter->raise();
    m_easter->activateWindow();
}

frmAcerca *frmMP3::aboutWindow() const
{
    return m_about;
}

frmHelp *frmMP3::helpWindow() const
{
    return m_help;
}

frmEaster *frmMP3::greetingWindow() const
{
    return m_easter;
}

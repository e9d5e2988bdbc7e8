#include "app/frmMP3.h"
#include "info/frmAcerca.h"
#include "info/frmEaster.h"
#include "info/frmHelp.h"

void frmMP3::Form_Load()
{
}

void frmMP3::Exit_Click()
{
}

void frmMP3::HelpMe_Click()
{
}

void frmMP3::AboutOf_Click()
{
}

void frmMP3::showAbout()
{
}

bool frmMP3::Form_Unload()
{
    return false;
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

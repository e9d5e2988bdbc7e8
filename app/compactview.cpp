#include "app/frmMP3.h"

void frmMP3::Hide_Click()
{
    m_state->setCompactView(true);
}

void frmMP3::Show_Click()
{
    m_state->setCompactView(false);
}

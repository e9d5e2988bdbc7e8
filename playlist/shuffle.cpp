#include "app/frmMP3.h"
#include "app/tag.h"
#include "app/widgetstyle.h"
#include "playlist/shufflerandom.h"

#include <QPushButton>

void frmMP3::cmdShuffle_Click()
{
    if (Tag(cmdShuffle).toInt() == 0) {
        setTag(cmdShuffle, QStringLiteral("1"));
        setFaceColour(cmdShuffle, QColor(255, 0, 0));
        // With an empty playlist nothing can be picked; the mode is on all the same.
        ShuffleIt();
    } else {
        setTag(cmdShuffle, QStringLiteral("0"));
        setFaceColour(cmdShuffle, QColor(192, 192, 192));
    }
}

bool frmMP3::ShuffleIt()
{
    const int count = rowCount();
    const float r = m_random ? m_random() : clockRandom();
    const int row = shufflePick(r, count);
    // Selecting the row runs the click handling, which makes it the current row.
    if (!selectRow(row))
        return false;
    SongPath = pathAt(row);
    SongName = nameAt(row);
    cmdPlay_Click();
    return true;
}

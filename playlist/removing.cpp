#include "app/frmMP3.h"
#include "playlist/playlistbox.h"

#include <QLabel>

void frmMP3::cmdDelete_Click()
{
    // The search for the selected entry starts at the current row, not at the top; when
    // it runs off the list nothing is removed, yet the current track is forgotten all
    // the same.
    int row = SongIndex;
    while (row >= 0 && row < rowCount() && !isRowSelected(row))
        ++row;
    // With its entry gone no row is current, so none stays highlighted either.
    if (removeEntry(row))
        PlayList->clearSelection();
    LblSongName->setText(QString());
    SongPath.clear();
    SongIndex = 0;
}

void frmMP3::cmdDelAll_Click()
{
    if (rowCount() == 0)
        return;
    PlayList->clear();
    NameList->clear();
    LblSongName->setText(QString());
    SongPath.clear();
}

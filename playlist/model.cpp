#include "app/frmMP3.h"
#include "playlist/playlistbox.h"

#include <algorithm>
#include <limits>

int frmMP3::rowCount() const
{
    return PlayList->count();
}

QString frmMP3::pathAt(int row) const
{
    const QListWidgetItem *item = PlayList->item(row);
    return item ? item->text() : QString();
}

QString frmMP3::nameAt(int row) const
{
    const QListWidgetItem *item = NameList->item(row);
    return item ? item->text() : QString();
}

bool frmMP3::appendEntry(const QString &path, const QString &name)
{
    return appendEntries({ path }, { name });
}

bool frmMP3::appendEntries(const QStringList &paths, const QStringList &names)
{
    // Row numbers are 16-bit, so the playlist holds at most 32767 rows. Both lists grow in
    // one insertion each: row by row, the view would lay itself out again for every row.
    const qsizetype room = std::numeric_limits<qint16>::max() - PlayList->count();
    const qsizetype count = std::min({ room, paths.size(), names.size() });
    PlayList->addItems(paths.first(count));
    NameList->addItems(names.first(count));
    return count == paths.size();
}

bool frmMP3::removeEntry(int row)
{
    if (row < 0 || row >= PlayList->count())
        return false;
    delete PlayList->takeItem(row);
    delete NameList->takeItem(row);
    return true;
}

bool frmMP3::isRowSelected(int row) const
{
    const QListWidgetItem *item = PlayList->item(row);
    return item && item->isSelected();
}

bool frmMP3::selectRow(int row)
{
    if (row < 0 || row >= PlayList->count())
        return false;
    PlayList->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    PlayList_Click();
    return true;
}

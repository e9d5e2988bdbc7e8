#include "app/playlistbox.h"

#include <QKeyEvent>
#include <QMouseEvent>

void PlayListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !indexAt(event->position().toPoint()).isValid()) {
        event->accept();
        return;
    }
    QListView::mousePressEvent(event);
    emit userClicked();
}

void PlayListBox::mouseMoveEvent(QMouseEvent *event)
{
    const int before = selectedRow();
    QListView::mouseMoveEvent(event);
    if (selectedRow() != before)
        emit userClicked();
}

// Only the left button plays a row by a double-click.
void PlayListBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void PlayListBox::keyPressEvent(QKeyEvent *event)
{
    const int before = selectedRow();
    const int current = currentIndex().row();
    QListView::keyPressEvent(event);
    if (selectedRow() != before || currentIndex().row() != current)
        emit userClicked();
}

int PlayListBox::selectedRow() const
{
    if (!selectionModel())
        return -1;
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

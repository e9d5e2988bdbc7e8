#include "playlist/playlistbox.h"

#include <QKeyEvent>
#include <QMouseEvent>

void PlayListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !itemAt(event->position().toPoint())) {
        event->accept();
        return;
    }
    QListWidget::mousePressEvent(event);
    emit userClicked();
}

void PlayListBox::mouseMoveEvent(QMouseEvent *event)
{
    const int before = selectedRow();
    QListWidget::mouseMoveEvent(event);
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
    QListWidget::mouseDoubleClickEvent(event);
}

void PlayListBox::keyPressEvent(QKeyEvent *event)
{
    const int before = selectedRow();
    const int current = currentRow();
    QListWidget::keyPressEvent(event);
    if (selectedRow() != before || currentRow() != current)
        emit userClicked();
}

int PlayListBox::selectedRow() const
{
    const QList<QListWidgetItem *> items = selectedItems();
    return items.isEmpty() ? -1 : row(items.first());
}

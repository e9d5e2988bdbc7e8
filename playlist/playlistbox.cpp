#include "playlist/playlistbox.h"

#include <QKeyEvent>
#include <QMouseEvent>

void PlayListBox::mousePressEvent(QMouseEvent *event)
{
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
        emit userClicked();
}

void PlayListBox::keyPressEvent(QKeyEvent *event)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        emit userClicked();
}

#include "info/linklabel.h"

#include <QMouseEvent>

ClickLabel::ClickLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setTextFormat(Qt::PlainText);
}

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click
        = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : ClickLabel(text, parent)
{
    // Without tracking of its own a label lets moves without a button fall through to
    // its window, which would turn the link blue under the pointer.
    setMouseTracking(true);
    rest();
}

void LinkLabel::rest()
{
    setTextColour(QColor(0, 0, 255));
}

void LinkLabel::highlight()
{
    setTextColour(QColor(255, 0, 0));
}

void LinkLabel::mouseMoveEvent(QMouseEvent *event)
{
    highlight();
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    ClickLabel::mouseReleaseEvent(event);
    highlight();
}

void LinkLabel::setTextColour(const QColor &colour)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, colour);
    setPalette(palette);
}

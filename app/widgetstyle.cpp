#include "app/widgetstyle.h"

#include <QWidget>

void setFaceColour(QWidget *button, const QColor &colour)
{
    button->setProperty("BackColor", colour);
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black; "
                                         "border: 2px outset %1; }")
                              .arg(colour.name()));
}

QColor faceColour(const QWidget *button)
{
    return button->property("BackColor").value<QColor>();
}

QIcon pictureIcon(const QString &resource)
{
    QIcon icon;
    icon.addFile(resource + QStringLiteral(".png"));
    icon.addFile(resource + QStringLiteral("@2x.png"));
    return icon;
}

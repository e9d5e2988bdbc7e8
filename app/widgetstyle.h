#pragma once

#include <QColor>
#include <QIcon>

class QWidget;

// The face colour of a coloured button, kept so that it can be read back.
void setFaceColour(QWidget *button, const QColor &colour);
QColor faceColour(const QWidget *button);

// One of the player's pictures as an icon, with its twice-as-large drawing for high-DPI
// screens: ":/resources/play" gives play.png and play@2x.png.
QIcon pictureIcon(const QString &resource);

#pragma once

#include <QColor>

class QWidget;

// The face colour of a coloured button, kept so that it can be read back.
void setFaceColour(QWidget *button, const QColor &colour);
QColor faceColour(const QWidget *button);

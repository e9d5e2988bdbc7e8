#pragma once

#include <QColor>
#include <QRect>
#include <QSize>

class QLabel;
class QWidget;

// What the about and credits windows share: a fixed-size top-level window of one
// colour, centred on the screen, with bold labels on the default label background.

void setupInfoWindow(QWidget *window, const QSize &clientSize, const QColor &background);

// Bold "MS Sans Serif" at pointSize, placed at geometry (pixels). The label fills its own
// background with the default one, not with its window's colour.
void styleInfoLabel(QLabel *label, qreal pointSize, const QRect &geometry);

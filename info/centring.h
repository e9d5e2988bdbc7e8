#pragma once

class QWidget;

// Puts a window's client area in the middle of the screen's free area.
void centreOnScreen(QWidget *window);

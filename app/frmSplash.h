#pragma once

#include <QWidget>
#include <functional>

class QLabel;
class QTimer;

// A borderless splash window that gives way to the main window five seconds after it was
// created. The player opens its main window directly; the splash is kept for a start that
// wants it, and showMain is how it reaches the main window.
class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(std::function<void()> showMain, QWidget *parent = nullptr);

    void Timer1_Timer();

private:
    QLabel *Image1 = nullptr;
    QTimer *Timer1 = nullptr;
    std::function<void()> m_showMain;
};

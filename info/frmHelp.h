#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

// A legend of the main window's picture buttons: each button's very bitmap beside a line
// that says what it does. "Aceptar" closes it for good; the next opening builds it anew.
class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(QWidget *parent = nullptr);

    void Command1_Click();

private:
    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Image3 = nullptr;
    QLabel *Image4 = nullptr;
    QLabel *Image5 = nullptr;
    QLabel *Image6 = nullptr;
    QLabel *label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QFrame *Line1 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *addPicture(const char *name, int top, const QString &bitmap);
    QLabel *addLegend(const char *name, int top, int width, const QString &text);
};

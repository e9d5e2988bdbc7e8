#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The hidden greeting: a borderless card that only "Cerrar" closes for good; the next
// opening builds it anew.
class frmEaster : public QWidget {
    Q_OBJECT
public:
    explicit frmEaster(QWidget *parent = nullptr);

    void cmdExit_Click();

private:
    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *cmdExit = nullptr;
    QLabel *addLabel(const char *name, const QString &text, const QRect &where, qreal points);
};

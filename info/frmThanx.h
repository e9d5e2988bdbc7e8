#pragma once

#include <QWidget>

class frmThanx : public QWidget {
    Q_OBJECT
public:
    explicit frmThanx(QWidget *parent = nullptr);
};

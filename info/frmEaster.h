#pragma once

#include <QWidget>

class frmEaster : public QWidget {
    Q_OBJECT
public:
    explicit frmEaster(QWidget *parent = nullptr);
};

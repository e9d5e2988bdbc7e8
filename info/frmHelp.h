#pragma once

#include <QWidget>

class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(QWidget *parent = nullptr);
};

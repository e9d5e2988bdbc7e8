#pragma once

#include <QWidget>

class frmAcerca : public QWidget {
    Q_OBJECT
public:
    explicit frmAcerca(QWidget *parent = nullptr);
};

#pragma once

#include <QWidget>

class frmLyrics : public QWidget {
    Q_OBJECT
public:
    explicit frmLyrics(QWidget *parent = nullptr);
};

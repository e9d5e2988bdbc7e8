#pragma once

#include "player/messagebox.h"

class QWidget;

class QtMessageBox : public MessageBox {
public:
    void error(const QString &text, const QString &title) override;
};

#include "dialogs/qtmessagebox.h"

#include <QMessageBox>

void QtMessageBox::error(const QString &text, const QString &title)
{
    QMessageBox::critical(nullptr, title, text, QMessageBox::Ok);
}

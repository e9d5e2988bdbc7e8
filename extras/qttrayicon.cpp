#include "extras/qttrayicon.h"

#include <QSystemTrayIcon>

QtTrayIcon::QtTrayIcon(QObject *parent)
    : TrayIcon(parent)
{
}

void QtTrayIcon::AddIcon()
{
}

void QtTrayIcon::RemoveIcon()
{
}

bool QtTrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

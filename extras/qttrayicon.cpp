#include "extras/qttrayicon.h"

#include "widgets/widgetstyle.h"

#include <QIcon>

QtTrayIcon::QtTrayIcon(QObject *parent)
    : TrayIcon(parent)
    , m_icon(new QSystemTrayIcon(pictureIcon(QStringLiteral(":/resources/tray")), this))
{
    m_icon->setToolTip(QStringLiteral("Velumo MP3 Player"));
    connect(m_icon, &QSystemTrayIcon::activated, this, &QtTrayIcon::iconActivated);
}

void QtTrayIcon::AddIcon()
{
    m_icon->show();
}

void QtTrayIcon::RemoveIcon()
{
    m_icon->hide();
}

bool QtTrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::iconActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::DoubleClick:
        emit RestoreRequested();
        break;
    case QSystemTrayIcon::Context:
        emit MenuRequested();
        break;
    default:
        break;
    }
}

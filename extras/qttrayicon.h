#pragma once

#include "extras/trayicon.h"

#include <QSystemTrayIcon>

// The notification-area icon over QSystemTrayIcon. A left click or a double-click asks for
// the windows back, a right click for the menu; the main window pops its own menu, so the
// icon carries none.
class QtTrayIcon : public TrayIcon {
    Q_OBJECT
public:
    explicit QtTrayIcon(QObject *parent = nullptr);

    void AddIcon() override;
    void RemoveIcon() override;
    bool isAvailable() const override;

private:
    void iconActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon *m_icon = nullptr;
};

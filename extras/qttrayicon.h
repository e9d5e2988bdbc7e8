#pragma once

#include "extras/trayicon.h"

class QSystemTrayIcon;

// The notification-area icon over QSystemTrayIcon.
class QtTrayIcon : public TrayIcon {
    Q_OBJECT
public:
    explicit QtTrayIcon(QObject *parent = nullptr);

    void AddIcon() override;
    void RemoveIcon() override;
    bool isAvailable() const override;

private:
    QSystemTrayIcon *m_icon = nullptr;
};

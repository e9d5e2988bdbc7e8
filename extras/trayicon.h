#pragma once

#include <QObject>

// The player's icon in the notification area.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void AddIcon() = 0;
    virtual void RemoveIcon() = 0;
    // Whether the desktop has a notification area to hide into at all.
    virtual bool isAvailable() const = 0;

signals:
    void RestoreRequested();
    void MenuRequested();
};

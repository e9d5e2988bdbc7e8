#pragma once

// Stand-ins for the outside parts only the window uses, for widget tests only.

#include "extras/trayicon.h"
#include "fakes.h"
#include "info/shelllinks.h"

#include <QUrl>

class FakeTray : public TrayIcon {
    Q_OBJECT
public:
    QStringList calls;
    bool available = true;
    bool shown = false;

    void AddIcon() override
    {
        calls << QStringLiteral("AddIcon");
        shown = true;
    }
    void RemoveIcon() override
    {
        calls << QStringLiteral("RemoveIcon");
        shown = false;
    }
    bool isAvailable() const override { return available; }
    void restore() { emit RestoreRequested(); }
    void menu() { emit MenuRequested(); }
};

class FakeLinks : public ShellLinks {
public:
    QList<QUrl> opened;
    void open(const QUrl &url) override { opened << url; }
};

// The outside parts of the player and of its window.
struct FakePlatform : FakeParts {
    FakeTray tray;
    FakeLinks links;
};

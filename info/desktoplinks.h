#pragma once

#include "info/shelllinks.h"

// Hands web and mail addresses to the desktop's default handlers, never to a shell.
class DesktopLinks : public ShellLinks {
public:
    void open(const QUrl &url) override;
};

#pragma once

#include <QUrl>

// Opens web pages and mail addresses with the desktop's own handlers.
class ShellLinks {
public:
    virtual ~ShellLinks() = default;
    virtual void open(const QUrl &url) = 0;
};

#pragma once

#include <QString>

// The one kind of message the player shows: an error with an OK button.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual void error(const QString &text, const QString &title) = 0;
};

#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// Mode flags ride on the controls themselves as their Tag text, "0" or "1".
inline QString Tag(const QObject *control)
{
    return control->property("Tag").toString();
}

inline void setTag(QObject *control, const QString &text)
{
    control->setProperty("Tag", text);
}

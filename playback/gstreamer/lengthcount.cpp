#include "playback/gstreamer/lengthcount.h"

#include "playback/mpeglength.h"

#include <QPointer>

LengthCount::LengthCount(QObject *parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

LengthCount::~LengthCount()
{
    m_pool.clear();
    m_pool.waitForDone();
}

void LengthCount::count(int file, const QString &path)
{
    // A count still waiting for the thread is for a file no longer heard.
    m_pool.clear();
    m_pool.start([this, file, path] {
        if (const std::optional<double> seconds = mpegFileLength(path))
            QMetaObject::invokeMethod(
                this, [this, file, seconds] { emit counted(file, *seconds); }, Qt::QueuedConnection);
    });
}

#pragma once

#include <QObject>
#include <QThreadPool>

// An MP3 without a length header tells GStreamer only a guess of its length; its frames tell
// the truth, but counting them takes a quarter of a second for a large file. They are
// counted on a thread of this object's own, and the length told when it is known.
//
// Threads: the UI thread calls count and receives counted; the counting thread touches nothing
// but the path it was given. The destructor waits for a count under way.
class LengthCount : public QObject {
    Q_OBJECT
public:
    explicit LengthCount(QObject *parent = nullptr);
    ~LengthCount() override;

    // Counts the file's frames; counted follows on the UI thread when it holds MPEG audio.
    void count(int file, const QString &path);

signals:
    void counted(int file, double seconds);

private:
    QThreadPool m_pool;
};

#pragma once

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <optional>

typedef struct _GstElement GstElement;

// The length of the file heard. GStreamer's duration serves, else an ADTS file's estimate from
// its first frames, else one from the bit rate. An MP3 without a length header tells GStreamer
// only a guess; its frames tell the truth, but counting them takes a quarter of a second for a
// large file, so they are counted on a thread of this object's own and the length told again
// once it is known.
//
// Threads: the UI thread calls every function and receives changed; the counting thread
// touches nothing but the path it was given. The destructor waits for a count under way.
class TrackLength : public QObject {
    Q_OBJECT
public:
    explicit TrackLength(QObject *parent = nullptr);
    ~TrackLength() override;

    std::optional<double> seconds() const { return m_seconds; }
    // Measures the file playbin holds ready; file numbers it, so a late count is told apart.
    void measure(GstElement *playbin, int file, const QString &path);
    // GStreamer learned the duration better; a count is better still.
    void refine(GstElement *playbin);
    void forget();

signals:
    void changed();

private:
    void takeCount(int file, double seconds);

    QThreadPool m_pool;
    std::optional<double> m_seconds;
    // Whether m_seconds was counted from the file's frames, which no guess of GStreamer's betters.
    bool m_counted = false;
    int m_file = 0;
};

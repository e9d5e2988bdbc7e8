#pragma once

#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <QUrl>
#include <atomic>
#include <optional>

typedef struct _GstElement GstElement;

// Fetches the bytes at one address with GStreamer's own HTTP source, at most 1 MiB and within
// 10 s; a larger answer, an error or a slower one is a failure.
//
// Threads: the UI thread calls every public function, and done is raised on it. GStreamer's
// streaming thread appends to m_bytes while a fetch runs (the UI thread reads them only once
// the pipeline is down) and, with the bus's sync handler, hands the end to the UI thread as a
// queued call tagged with m_generation, so that the end of a fetch dropped meanwhile is ignored.
class HttpFetch : public QObject {
    Q_OBJECT
public:
    explicit HttpFetch(QObject *parent = nullptr);
    ~HttpFetch() override;

    // Starts fetching address, dropping any fetch under way.
    void start(const QUrl &address);
    // Drops the fetch under way, if any; done is not raised for it.
    void cancel();

signals:
    // The bytes fetched, or nothing when they could not be had within the bounds.
    void done(const std::optional<QByteArray> &bytes);

private:
    void queueFinish(bool fetched);
    void finish(int generation, bool fetched);

    friend struct HttpFetchCallbacks;

    GstElement *m_pipeline = nullptr;
    std::atomic<int> m_generation { 0 };
    QByteArray m_bytes;
    QTimer m_timeout;
};

#include "mediafiles.h"
#include "playback/gstreamer/gstengine.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gst/gst.h>

// Whatever the engine makes for one file is gone once the next has played: a player that
// runs all day through thousands of tracks must not grow with each of them.
class EngineLifetime : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_wav;

    // GStreamer's own leak tracer, which sees every object and message made and freed.
    static GObject *leakTracer()
    {
        GObject *found = nullptr;
        GList *tracers = gst_tracing_get_active_tracers();
        for (GList *item = tracers; item; item = item->next) {
            if (g_strcmp0(G_OBJECT_TYPE_NAME(item->data), "GstLeaksTracer") == 0)
                found = G_OBJECT(item->data);
        }
        g_list_free_full(tracers, gst_object_unref);
        return found; // the tracers live as long as GStreamer
    }

    struct Activity {
        int created = 0;
        int freed = 0;
    };

    // The objects made and freed since tracking began or the last checkpoint.
    static Activity checkpoint(GObject *tracer)
    {
        Activity activity;
        GstStructure *info = nullptr;
        g_signal_emit_by_name(tracer, "activity-get-checkpoint", &info);
        if (!info)
            return activity;
        if (const GValue *created = gst_structure_get_value(info, "objects-created-list"))
            activity.created = int(gst_value_list_get_size(created));
        if (const GValue *removed = gst_structure_get_value(info, "objects-removed-list"))
            activity.freed = int(gst_value_list_get_size(removed));
        gst_structure_free(info);
        return activity;
    }

    static bool playToEnd(GstEngine &engine, const QString &path)
    {
        QSignalSpy ended(&engine, &MediaEngine::PlaybackEnded);
        return engine.MediaFile(path) && engine.StartPlayback() && ended.wait(15000);
    }

private slots:
    void initTestCase()
    {
        // Read once, when the engine first starts GStreamer.
        qputenv("GST_TRACERS", "leaks");
        QVERIFY(m_dir.isValid());
        m_wav = mediafiles::wav(QDir(m_dir.path()), QStringLiteral("short.wav"), 0.2, 440);
        QVERIFY(!m_wav.isEmpty());
    }

    // Each file makes its elements, pads and messages afresh; by the time several more have
    // played, all but those of the last one are freed again.
    void filesPlayedToTheirEndLeaveNothingBehind()
    {
        GstEngine engine(QStringLiteral("fakesink sync=true"));
        for (int i = 0; i < 2; ++i)
            QVERIFY(playToEnd(engine, m_wav));
        GObject *tracer = leakTracer();
        QVERIFY2(tracer, "GStreamer's leak tracer is not running");
        g_signal_emit_by_name(tracer, "activity-start-tracking");
        constexpr int files = 6;
        for (int i = 0; i < files; ++i)
            QVERIFY(playToEnd(engine, m_wav));
        const Activity activity = checkpoint(tracer);
        g_signal_emit_by_name(tracer, "activity-stop-tracking");
        QVERIFY(activity.created > 0);
        qInfo("%d made, %d freed", activity.created, activity.freed);
        QVERIFY2(activity.created - activity.freed < activity.created / files,
            qPrintable(QStringLiteral("%1 made, %2 freed").arg(activity.created).arg(activity.freed)));
    }
};

QTEST_GUILESS_MAIN(EngineLifetime)
#include "lifetime.moc"

#pragma once

#include <gst/gst.h>

class GstEngine;

// What GStreamer's threads call: the bus's sync handler, playbin's about-to-finish and
// element-setup, and the probe on the sink chain's input. They touch nothing of the engine but
// its generation number and its hand-over, and hand everything else to the UI thread as queued
// calls.
struct GstEngineCallbacks {
    // Connects the engine to a new playbin's signals, its bus and its sink chain; the UI thread's.
    static void connect(GstEngine *engine, GstElement *playbin);

private:
    static GstBusSyncReply onBusMessage(GstBus *, GstMessage *message, gpointer data);
    static bool isFromSink(GstEngine *engine, GstMessage *message);
    static void onTags(GstEngine *engine, GstMessage *message);
    static void onAboutToFinish(GstElement *playbin, gpointer data);
    static GstPadProbeReturn onSinkData(GstPad *pad, GstPadProbeInfo *info, gpointer data);
    static GstPadProbeReturn onSinkEvent(GstEngine *engine, GstEvent *event);
    static void tellArrival(GstEngine *engine);
    static void onElementSetup(GstElement *, GstElement *element, gpointer);
};

#pragma once

#include <QtGlobal>

typedef struct _GstPad GstPad;
typedef struct _GstBuffer GstBuffer;
typedef struct _GstEvent GstEvent;
typedef struct _GstElement GstElement;
typedef struct _GstPadProbeInfo GstPadProbeInfo;

// Where one file joins the next at the sink: every sample of each, and nothing more.

// GStreamer's decoders cut a stream's last buffer at its segment's end counted in nanoseconds
// rounded down, which leaves many Ogg Vorbis files one sample too long: a sample too many at
// every joint. Counted in samples to the nearest, the end falls where the file says it does.
// False when the whole buffer lies past the end and is to be dropped.
bool cutAtSegmentEnd(GstPad *pad, GstPadProbeInfo *info);

// Where a buffer starts and ends playing on the pipeline's clock, counted from the start of
// playback.
quint64 runningTimeOf(GstPad *pad, GstBuffer *buffer);
quint64 runningEndOf(GstPad *pad, GstBuffer *buffer);

// A new stream's format on its way to the sound output. The output opens with the first
// file's format, raised to stereo and 44.1 kHz where the file has less, and each file after it
// is converted up to that one, so that it joins the file before without the output being opened
// again (which is heard as a gap); a file that needs a higher rate or more channels opens it
// again at what it needs, so that no file is played at less than its own.
// Called on the streaming thread of the sink, with format the sink chain's capsfilter.
void fitOutputFormat(GstElement *format, GstEvent *capsEvent);

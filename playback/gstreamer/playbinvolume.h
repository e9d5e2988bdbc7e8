#pragma once

#include <optional>

typedef struct _GstElement GstElement;

// The volume and mute the user set, kept for a playbin made later and set on the one there is.
// The UI thread's.
class PlaybinVolume {
public:
    bool muted() const { return m_muted; }
    // The linear gain, 1.0 at full volume.
    double linear() const { return m_linear; }
    bool setMuted(GstElement *playbin, bool muted);
    // Loudness in hundredths of a decibel, from -10000 to 0; a level outside is refused.
    bool setLevel(GstElement *playbin, int level);
    void applyTo(GstElement *playbin) const;

private:
    double m_linear = 1.0;
    bool m_muted = false;
};

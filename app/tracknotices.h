#pragma once

#include <QDeadlineTimer>
#include <QObject>
#include <QStringList>

class DesktopNotifier;
class MprisService;
class Player;
class QWidget;

// Tells the track that starts while the main window is hidden with a desktop notice, as the
// desktop's media controls describe it. The notice goes out when the track starts, and is
// brought up to date when the file's tags come within a few seconds; a stream's notice, each
// time the stream sends a new title.
class TrackNotices : public QObject {
    Q_OBJECT
public:
    TrackNotices(Player *player, const MprisService *media, const QWidget *window, DesktopNotifier *notifier,
        QObject *parent = nullptr);

private:
    void announceLater();
    void announce();

    const MprisService *m_media;
    const QWidget *m_window;
    DesktopNotifier *m_notifier;
    // Until when tags found for the track still update its notice; expired for a track that
    // started with the window shown.
    QDeadlineTimer m_tagsUntil;
    // What the notice of this track tells, so that tags which change nothing send nothing.
    QStringList m_told;
};

#pragma once

#include "player/player.h"

#include <QObject>

// Publishes the player on the session bus as a desktop media player, so that media keys
// and the desktop's media controls reach it. Every call goes through the same handlers as
// the buttons, chosen by the player's state so that each does what its name says.
class MprisService : public QObject {
    Q_OBJECT
public:
    explicit MprisService(Player *player, QObject *parent = nullptr);

    // Registers on the session bus and from then on announces every change of status, track
    // and volume. False, and nothing published, when there is no session bus.
    bool publish();

    // "Playing", "Paused" or "Stopped".
    QString playbackStatus() const;
    QVariantMap metadata() const;
    // The volume slider's position, from 0.0 to 1.0.
    double volume() const;
    // A distinct object path for each track started.
    QString trackId() const;
    // Where the track stands, in microseconds; 0 when none plays or is paused.
    qlonglong position() const;
    bool canSeek() const;
    // Moves within the track by offset microseconds, or to position microseconds in track.
    void seek(qlonglong offset);
    void setPosition(const QString &track, qlonglong position);

    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    void openUri(const QString &uri);
    void raise();
    void quit();

signals:
    // The desktop asked to see the player, or to end it.
    void raiseRequested();
    void quitRequested();
    // Playback moved to position microseconds into the track.
    void seeked(qlonglong position);

private:
    enum Change { Status = 1, Track = 2, Volume = 4 };
    void changed(Change change);
    void announcePending();
    void announce(const QVariantMap &properties);
    void findCover();

    Player *m_player;
    int m_tracksStarted = 0;
    QString m_playingPath;
    QString m_artUrl;
    QString m_lastStatus;
    int m_pending = 0;
};

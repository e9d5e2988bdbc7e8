#pragma once

#include <QObject>

class Player;

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

    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    void raise();
    void quit();

signals:
    // The desktop asked to see the player, or to end it.
    void raiseRequested();
    void quitRequested();

private:
    enum Change { Status = 1, Track = 2, Volume = 4 };
    void changed(Change change);
    void announcePending();
    void announce(const QVariantMap &properties);

    Player *m_player;
    QString m_lastStatus;
    int m_pending = 0;
};

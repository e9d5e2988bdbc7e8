#pragma once

#include <QObject>

class frmMP3;

// Publishes the player on the session bus as a desktop media player, so that media keys
// and the desktop's media controls reach it. Every call goes through the same handlers as
// the buttons, chosen by the player's state so that each does what its name says.
class MprisService : public QObject {
    Q_OBJECT
public:
    explicit MprisService(frmMP3 *window);

    // False, and nothing published, when there is no session bus.
    bool publish();

    // "Playing", "Paused" or "Stopped".
    QString playbackStatus() const;
    QVariantMap metadata() const;

    void play();
    void pause();
    void playPause();
    void stop();
    void next();
    void previous();
    void raise();
    void quit();

signals:
    void changed();

private:
    void notifyIfChanged();

    frmMP3 *m_window;
    QString m_lastStatus;
    QString m_lastTitle;
};

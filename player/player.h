#pragma once

#include "files/lrcfile.h"
#include "playback/tracktags.h"
#include "player/playerstate.h"
#include "playlist/playlistmodel.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QItemSelectionModel;
class QTimer;

class FileDialog;
class MediaEngine;
class MessageBox;

// The outside parts the player drives; app/main.cpp hands it the real ones, tests fakes.
struct PlayerParts {
    MediaEngine *engine = nullptr;
    // The dialog of tracks and pictures, and the dialog of playlist files.
    FileDialog *cmdlg = nullptr;
    FileDialog *common = nullptr;
    MessageBox *messages = nullptr;
    // Uniform on [0, 1); reseeded from the clock at every call unless a test fixes it.
    std::function<float()> random;
};

// The player without its window: the playlist, the current track and its row, the clock,
// the engine and the timed lyrics. The window builds the controls, calls these handlers and
// shows the state by its signals; the desktop's media controls do the same.
//
// The handlers keep their names; each group lives in a file of its own in this folder:
// transport.cpp (Empezar, Pausa, Parar, Sin Sonido), navigation.cpp (Retroceder, Avanzar,
// the end of a track, clicks on the list), timevolume.cpp (the clock, the length, the volume),
// seeking.cpp (moving within the track, where it stands, its tags),
// adding.cpp (Agregar), openfiles.cpp (files handed over or dropped), removing.cpp (Borrar,
// Borrar Todo), playlistfiles.cpp (Guardar, Abrir), shuffle.cpp, lyrics.cpp (finding the
// lyrics, following the sung line), background.cpp (the background picture's path), gain.cpp
// (how loud each track plays).
class Player : public QObject {
    Q_OBJECT
public:
    explicit Player(const PlayerParts &parts, QObject *parent = nullptr);
    ~Player() override;

    PlayerState &state() { return *m_state; }
    const PlayerState &state() const { return *m_state; }
    PlaylistModel &playlist() { return *m_playlist; }
    const PlaylistModel &playlist() const { return *m_playlist; }
    // The highlighted row: the list view shares it, so what the user sees is what the
    // handlers find.
    QItemSelectionModel *selection() const { return m_selection; }
    // The highlighted row, or -1.
    int selectedRow() const;

    // Transport.
    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdStop_Click();
    void cmdMute_Click();

    // Navigation.
    void cmdBack_Click();
    void cmdForward_Click();
    void Mplay_PlaybackEnded(qint32 result);
    // The engine tells when the file queued to follow is heard, and when it learned the
    // length better.
    void Mplay_QueuedFileStarted();
    void Mplay_LengthChanged();
    // A stream that gave no sound is to the player what a file that cannot play is to Play:
    // its name stays shown and the clock stays off.
    void Mplay_StartFailed();
    void PlayList_Click();
    void PlayList_DblClick();

    // Time and volume.
    void Timer_Timer();
    void TimePlay();
    void Slider_Scroll(int position);

    // Seeking in the track that plays or is paused; nothing while stopped. A time before the
    // start goes to the start, one at or past the end ends the track as its end would.
    // False when nothing moved.
    bool seekTo(double seconds);
    bool seekBy(double seconds);
    // Where the track stands, in seconds, while one plays or is paused.
    std::optional<double> position() const;
    // Whether the track that plays or is paused can be sought.
    bool canSeek() const;
    // The tags of the file being played, as far as the engine found them.
    TrackTags tags() const;
    // Whether what plays is a stream, whose tags change as it sends new titles.
    bool streamHeard() const { return m_streamHeard; }

    // Adding.
    void cdmAdd_Click();
    // What "Agregar" does once a file is chosen: remember its folder (a stream's address
    // leaves it as it was), append it, refresh the current track.
    void addTrack(const QString &fileName, const QString &fileTitle);
    // Adds each existing file of paths as "Agregar" adds it, and each http or https address as
    // a stream named by its address; says whether any was added.
    bool addFiles(const QStringList &paths);
    // Files handed to the player from its command line or another start of it: each added
    // as "Agregar" adds it; when the playlist was empty the first of them plays from its start.
    void openFiles(const QStringList &paths);

    // Removing.
    void cmdDelete_Click();
    void cmdDelAll_Click();

    // Playlist files.
    void cmdSave_Click();
    void cmdLoad_Click();

    // Shuffle.
    void cmdShuffle_Click();
    // Returns false when a step failed; the callers ignore it.
    bool ShuffleIt();

    // Lyrics: the text of the track's lyrics file, as the lyrics window shows it.
    void LoadLyrics();
    const QString &lyrics() const { return m_lyrics; }
    // The window tells whether the lyrics can be seen: the sung line is followed only then.
    void setLyricsShown(bool shown);

    // Background picture.
    void BackPic_Click();
    void restoreBackground();

    // Ends what the engine plays, for a player that quits.
    void stopEngine();

signals:
    // A track was started: the lyrics window is to be shown, where the main window shows.
    void lyricsWindowWanted();
    void lyricsChanged(const QString &text);
    // The line being sung, or nothing when no line is.
    void sungLineChanged(std::optional<qsizetype> line);
    // The hidden greeting was asked for.
    void greetingWanted();
    // A track was started from its beginning.
    void trackStarted();
    // Playback moved to seconds into the track, by whatever asked for it.
    void seeked(double seconds);
    // The engine found the playing file's tags.
    void tagsChanged();

private:
    void followClock(PlayerState::Playback playback);
    void setLyrics(const QString &text);
    void followLyrics();
    void markSungLine();
    void markLineAt(double seconds);

    // Highlights row as a click on it would, and runs the click handling; false when the
    // row does not exist.
    bool selectRow(int row);
    bool isRowSelected(int row) const;

    // Navigation's steps.
    void takeRow(int row);
    void stopBranch();
    void stepBy(int by);
    // What Play does once the engine has started the current track, or failed to.
    void showTrackStart(bool started);
    void showLength();

    // The rows the ends of this track and of the next few take, told to the engine ahead so
    // that they follow without a gap: the next rows, or in shuffle mode rows picked when the
    // track starts, and picked again when the list changes or shuffle is switched.
    struct PlannedRow {
        int row;
        QString path;
        bool operator==(const PlannedRow &) const = default;
    };
    // starting tells it also before a track starts: a short file is read to its end while it
    // is readied, and playbin asks then what follows it.
    void planNext(bool starting = false);
    // Tells the engine how loud the track of row is to play (gain.cpp), before it names it.
    void tellGain(int row);
    void replan();
    int shuffleRow() const;

    PlayerState *m_state;
    PlaylistModel *m_playlist;
    QItemSelectionModel *m_selection;
    QTimer *Timer;
    QTimer *m_lyricsTimer;

    MediaEngine *Mplay;
    FileDialog *Cmdlg;
    FileDialog *common;
    MessageBox *m_messages;
    std::function<float()> m_random;

    QString m_lyrics;
    bool m_lyricsShown = false;
    // The timed lyrics being shown, when they came from a file with times.
    std::optional<TimedLyrics> m_timedLyrics;
    // Whether the track heard is a stream, whose clock shows the time heard rather than
    // counting on while it connects again.
    bool m_streamHeard = false;
    QList<PlannedRow> m_plan;
    QList<int> m_picks;
};

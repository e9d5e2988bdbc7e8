#pragma once

#include "player/playerstate.h"
#include "files/lrcfile.h"
#include "playlist/playlistmodel.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;
class QTimer;

class FileDialog;
class MediaEngine;
class MessageBox;
class PlayListBox;
class ShellLinks;
class TrayIcon;
class PictureBox;
class frmLyrics;
class frmAcerca;
class frmHelp;
class frmEaster;

// The outside parts the main window drives; app/main.cpp hands it the real ones, tests fakes.
struct Platform {
    MediaEngine *engine = nullptr;
    FileDialog *cmdlg = nullptr;
    FileDialog *common = nullptr;
    TrayIcon *tray = nullptr;
    ShellLinks *links = nullptr;
    MessageBox *messages = nullptr;
    // Uniform on [0, 1); reseeded from the clock at every call unless a test fixes it.
    std::function<float()> random;
};

// The player's main window. It owns the player's state and the playlist, and shows them
// by listening to their changes; its handlers are defined in the folder of their subsystem
// (playback/, playlist/, extras/, app/lifecycle.cpp) and act on the state, the playlist and
// the outside parts. Its controls are its own: the rest of the program never touches them.
class frmMP3 : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMP3(const Platform &platform, QWidget *parent = nullptr);
    ~frmMP3() override;

    PlayerState &state() { return *m_state; }
    const PlayerState &state() const { return *m_state; }
    PlaylistModel &playlist() { return *m_playlist; }
    const PlaylistModel &playlist() const { return *m_playlist; }

    // Lifecycle and menu routing (app/lifecycle.cpp).
    void Form_Load();
    // Returns true when the close is cancelled.
    bool Form_Unload();
    void Exit_Click();
    void HelpMe_Click();
    void AboutOf_Click();

    // Transport (playback/transport.cpp).
    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdStop_Click();
    void cmdMute_Click();

    // Navigation (playback/navigation.cpp).
    void cmdBack_Click();
    void cmdForward_Click();
    void Mplay_PlaybackEnded(qint32 result);
    void PlayList_Click();
    void PlayList_DblClick();

    // Time and volume (playback/timevolume.cpp).
    void Timer_Timer();
    void TimePlay();
    void Slider_Scroll();

    // Playlist (playlist/).
    void cdmAdd_Click();
    // What "Agregar" does once a file is chosen: remember its folder, append it, refresh the
    // current track.
    void addTrack(const QString &fileName, const QString &fileTitle);
    // Files handed to the player from its command line or another start of it: each added
    // as "Agregar" adds it; when the playlist was empty the first of them plays from its start.
    void openFiles(const QStringList &paths);
    void cmdDelete_Click();
    void cmdDelAll_Click();
    void cmdSave_Click();
    void cmdLoad_Click();
    void cmdShuffle_Click();
    // Returns false when a step failed; the callers ignore it.
    bool ShuffleIt();

    // Lyrics (extras/lyrics.cpp).
    void LoadLyrics();
    void SeeLyrics_Click();
    void HideLyrics_Click();
    // The lyrics window, created hidden on first use.
    frmLyrics *lyricsWindow();
    frmLyrics *existingLyricsWindow() const;

    // Background picture (extras/background.cpp).
    void BackPic_Click();
    void restoreBackground();

    // Tray icon and the compact view (extras/tray.cpp, extras/compactview.cpp).
    void IconoBarra_RestoreRequested();
    void IconoBarra_MenuRequested();
    void AboutIcono_Click();
    void OpenPlayer_Click();
    void QuitIcono_Click();
    void Hide_Click();
    void Show_Click();

    // The information windows, each built afresh after it was closed.
    frmAcerca *aboutWindow() const;
    frmHelp *helpWindow() const;
    frmEaster *greetingWindow() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void connectSignals();
    void connectState();
    void showAbout();

    // The window's side of the state: each shows one kind of change.
    void showShownSong(const QString &name);
    void showLength();
    void showElapsed(MinutesSeconds elapsed);
    void showPlayback(PlayerState::Playback playback);
    void showShuffle(bool on);
    void showBackground(const QString &path);
    void showCompactView(bool compact);

    // Timed lyrics' side (extras/lyrics.cpp): the sung line is followed only while timed
    // lyrics are loaded, their window shows and sound plays.
    void followLyrics();
    void showLyricsPlayback(PlayerState::Playback playback);
    void markSungLine();

    // Highlights row as a click on it would, and runs the click handling; false when the
    // row does not exist.
    bool selectRow(int row);
    bool isRowSelected(int row) const;

    // Navigation's steps (playback/navigation.cpp).
    void stopEngine();
    void takeRow(int row);
    void stopBranch();
    void stepBy(int by);

    PlayerState *m_state;
    PlaylistModel *m_playlist;

    // Controls, named as the layout names them.
    QLabel *LblSongName = nullptr;
    QLabel *LblSongTimer1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *LblSongTimer2 = nullptr;
    QLabel *lblMM = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblSS = nullptr;
    QPushButton *cmdBack = nullptr;
    QPushButton *cmdPlay = nullptr;
    QPushButton *cmdPause = nullptr;
    QPushButton *cmdStop = nullptr;
    QPushButton *cmdForward = nullptr;
    QPushButton *cmdShuffle = nullptr;
    PlayListBox *PlayList = nullptr;
    QSlider *Slider = nullptr;
    QPushButton *cmdMute = nullptr;
    QPushButton *cdmAdd = nullptr;
    QPushButton *cmdDelete = nullptr;
    QPushButton *cmdDelAll = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdLoad = nullptr;
    PictureBox *Image1 = nullptr;
    QTimer *Timer = nullptr;
    QTimer *m_lyricsTimer = nullptr;

    // The outside parts.
    MediaEngine *Mplay = nullptr;
    FileDialog *Cmdlg = nullptr;
    FileDialog *common = nullptr;
    TrayIcon *IconoBarra = nullptr;
    ShellLinks *m_links = nullptr;
    MessageBox *m_messages = nullptr;
    std::function<float()> m_random;

    // Menus and their items.
    QMenu *File = nullptr;
    QAction *Add = nullptr;
    QAction *Delete = nullptr;
    QAction *Save = nullptr;
    QAction *Open = nullptr;
    QMenu *Actions = nullptr;
    QAction *Back = nullptr;
    QAction *Play = nullptr;
    QAction *Pause = nullptr;
    QAction *Stop = nullptr;
    QAction *Forward = nullptr;
    QAction *Exit = nullptr;
    QMenu *Options = nullptr;
    QAction *Mute = nullptr;
    QAction *BackPic = nullptr;
    QAction *Hide = nullptr;
    QAction *Show = nullptr;
    QMenu *Lyrics = nullptr;
    QAction *SeeLyrics = nullptr;
    QAction *HideLyrics = nullptr;
    QMenu *Help = nullptr;
    QAction *HelpMe = nullptr;
    QAction *AboutOf = nullptr;
    QMenu *MnuIcono = nullptr;
    QAction *AboutIcono = nullptr;
    QAction *OpenPlayer = nullptr;
    QAction *BlinkIcono = nullptr;
    QAction *QuitIcono = nullptr;

    QPointer<frmLyrics> m_lyrics;
    // The timed lyrics the lyrics window shows, when they came from a file with times.
    std::optional<TimedLyrics> m_timedLyrics;
    QPointer<frmAcerca> m_about;
    QPointer<frmHelp> m_help;
    QPointer<frmEaster> m_easter;
};

#pragma once

#include "player/player.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QSlider;

class PlayListBox;
class ShellLinks;
class TrayIcon;
class PictureBox;
class frmLyrics;
class frmAcerca;
class frmHelp;
class frmEaster;

// The outside parts only the window uses; app/main.cpp hands it the real ones, tests fakes.
struct WindowParts {
    TrayIcon *tray = nullptr;
    ShellLinks *links = nullptr;
};

// The player's main window. It shows the player's state by listening to its changes and
// hands every click to the player's handler of the same name; the handlers that are about
// windows are its own (app/lifecycle.cpp, app/tray.cpp, app/compactview.cpp and the
// lyrics window's below). Its controls are its own: the rest of the program never touches them.
class frmMP3 : public QMainWindow {
    Q_OBJECT
public:
    frmMP3(Player &player, const WindowParts &parts, QWidget *parent = nullptr);
    ~frmMP3() override;

    Player &player() { return m_player; }
    const Player &player() const { return m_player; }

    // Lifecycle and menu routing (app/lifecycle.cpp).
    void Form_Load();
    // Returns true when the close is cancelled.
    bool Form_Unload();
    void Exit_Click();
    void HelpMe_Click();
    void AboutOf_Click();

    // The lyrics window (app/lyricswindow.cpp).
    void SeeLyrics_Click();
    void HideLyrics_Click();
    // The lyrics window, created hidden on first use.
    frmLyrics *lyricsWindow();
    frmLyrics *existingLyricsWindow() const;

    // Tray icon and the compact view (app/tray.cpp, app/compactview.cpp).
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
    void showShuffle(bool on);
    void showBackground(const QString &path);
    void showCompactView(bool compact);
    void showLyrics(const QString &text);
    void showSungLine(std::optional<qsizetype> line);
    void showLyricsWindow();
    void showGreeting();

    Player &m_player;
    PlayerState *m_state;

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

    // The outside parts.
    TrayIcon *IconoBarra = nullptr;
    ShellLinks *m_links = nullptr;

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
    QPointer<frmAcerca> m_about;
    QPointer<frmHelp> m_help;
    QPointer<frmEaster> m_easter;
};

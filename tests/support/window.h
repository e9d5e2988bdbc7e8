#pragma once

// Reaching the main window as a user does: its controls by their names, what they show.

#include "app/frmMP3.h"
#include "app/playlistbox.h"
#include "playertest.h"
#include "windowfakes.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

template <typename T = QWidget> T *control(const QObject &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

inline QString labelText(const QObject &window, const char *name)
{
    return control<QLabel>(window, name)->text();
}

// The time row as it reads on screen: elapsed minutes:seconds, then the length's.
inline QString timeRow(const QObject &window)
{
    return labelText(window, "LblSongTimer1") + QLatin1Char(':') + labelText(window, "LblSongTimer2")
        + QLatin1Char(' ') + labelText(window, "lblMM") + QLatin1Char(':') + labelText(window, "lblSS");
}

// A left click on a button, as the user gives it.
inline void click(const QObject &window, const char *button)
{
    QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
}

inline void trigger(const QObject &window, const char *menuItem)
{
    control<QAction>(window, menuItem)->trigger();
}

inline PlayListBox *playlistView(const QObject &window)
{
    return control<PlayListBox>(window, "PlayList");
}

// The highlighted playlist row, or -1.
inline int highlightedRow(const QObject &window)
{
    return playlistView(window)->selectedRow();
}

inline WindowParts windowParts(FakePlatform &fakes)
{
    return { &fakes.tray, &fakes.links };
}

inline void fillPlaylist(frmMP3 &w, const QStringList &paths)
{
    fillPlaylist(w.player(), paths);
}

// A left click on a playlist row, as the user gives it to a window that shows.
inline void clickRow(frmMP3 &w, int row)
{
    const QPoint centre = playlistView(w)->visualRect(w.player().playlist().index(row)).center();
    QTest::mouseClick(playlistView(w)->viewport(), Qt::LeftButton, {}, centre);
}

// A main window on fakes, in a program folder of its own.
struct WindowRig {
    ProgramFolder folder;
    FakePlatform fakes;
    Player p { fakes.parts() };
    frmMP3 w { p, windowParts(fakes) };
};

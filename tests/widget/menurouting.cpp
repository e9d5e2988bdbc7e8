#include "extras/frmLyrics.h"
#include "windowfakes.h"
#include "files/programfolder.h"
#include "window.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

using Command = std::function<void(frmMP3 &)>;

// Everything a command could change that a user or the engine would notice, as text.
QString observe(FakePlatform &fakes, frmMP3 &w)
{
    const PlayerState &state = w.player().state();
    const frmLyrics *lyrics = w.existingLyricsWindow();
    return QStringList { fakes.engine.calls.join(QLatin1Char(',')), fakes.cmdlg.shown.join(QLatin1Char(',')),
        fakes.common.shown.join(QLatin1Char(',')), fakes.messages.shown.join(QLatin1Char(',')),
        w.player().playlist().names().join(QLatin1Char(',')), QString::number(highlightedRow(w)),
        QString::number(state.SongIndex()), state.SongPath(), state.SongName(), labelText(w, "LblSongName"),
        QString::number(state.paused()), QString::number(state.shuffle()),
        QString::number(int(state.playback())), QString::number(fakes.engine.muted),
        QString::number(lyrics && lyrics->isVisible()) }
        .join(QLatin1Char('|'));
}

// Runs a command on a fresh window in a program folder of its own. With tracks, the window
// holds three, the second clicked and playing; the dialogs are cancelled.
QString outcome(const Command &command, bool withTracks)
{
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    FakePlatform fakes;
    Player p(fakes.parts());
    frmMP3 w(p, windowParts(fakes));
    w.show();
    if (withTracks) {
        fillPlaylist(w, { "/m/uno.mp3", "/m/dos.mp3", "/m/tres.mp3" });
        QListView *view = playlistView(w);
        QTest::mouseClick(
            view->viewport(), Qt::LeftButton, {}, view->visualRect(w.player().playlist().index(1)).center());
        w.player().cmdPlay_Click();
        fakes.engine.calls.clear();
    }
    command(w);
    // Each run has a folder of its own; where a dialog opens in it, the runs still agree.
    return observe(fakes, w).replace(folder.path(), QStringLiteral("<program folder>"));
}

} // namespace

class MenuRouting : public QObject {
    Q_OBJECT
private slots:
    void menuActsLikeButton_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("withTracks");
        QTest::addColumn<bool>("changes");
        const QList<std::pair<const char *, const char *>> pairs { { "Add", "cdmAdd" },
            { "Delete", "cmdDelete" }, { "Save", "cmdSave" }, { "Open", "cmdLoad" }, { "Back", "cmdBack" },
            { "Play", "cmdPlay" }, { "Pause", "cmdPause" }, { "Stop", "cmdStop" },
            { "Forward", "cmdForward" }, { "Mute", "cmdMute" } };
        for (const auto &[item, button] : pairs)
            QTest::newRow(item) << QString::fromLatin1(item) << QString::fromLatin1(button) << true << true;
        QTest::newRow("Play, empty list") << "Play"
                                          << "cmdPlay" << false << false;
        QTest::newRow("Pause, empty list") << "Pause"
                                           << "cmdPause" << false << false;
    }

    // Each menu command does exactly what the button it stands for does, nothing where the
    // button does nothing.
    void menuActsLikeButton()
    {
        QFETCH(QString, item);
        QFETCH(QString, button);
        QFETCH(bool, withTracks);
        QFETCH(bool, changes);
        const QString byMenu = outcome([&](frmMP3 &w) { trigger(w, qPrintable(item)); }, withTracks);
        const QString byButton = outcome([&](frmMP3 &w) { click(w, qPrintable(button)); }, withTracks);
        const QString untouched = outcome([](frmMP3 &) {}, withTracks);
        QCOMPARE(byMenu, byButton);
        QCOMPARE(byMenu != untouched, changes);
    }

    // The picture and lyrics commands, which have no button, reach their handlers.
    void menuOnlyCommands()
    {
        QTemporaryDir folder;
        setProgramFolder(folder.path());
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        trigger(w, "BackPic");
        QCOMPARE(fakes.cmdlg.shown.size(), 1);
        trigger(w, "SeeLyrics");
        QVERIFY(w.existingLyricsWindow() && w.existingLyricsWindow()->isVisible());
        trigger(w, "HideLyrics");
        QVERIFY(!w.existingLyricsWindow()->isVisible());
    }
};

QTEST_MAIN(MenuRouting)
#include "menurouting.moc"

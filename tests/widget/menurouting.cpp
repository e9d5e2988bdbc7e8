#include "app/programfolder.h"
#include "app/tag.h"
#include "extras/frmLyrics.h"
#include "fakes.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

using Command = std::function<void(frmMP3 &)>;

// Everything a command could change that a user or the engine would notice, as text.
QString observe(FakePlatform &fakes, frmMP3 &w)
{
    QStringList rows;
    for (int row = 0; row < w.rowCount(); ++row)
        rows << w.pathAt(row) + (w.isRowSelected(row) ? QStringLiteral(" *") : QString());
    const frmLyrics *lyrics = w.existingLyricsWindow();
    return QStringList { fakes.engine.calls.join(QLatin1Char(',')), fakes.cmdlg.shown.join(QLatin1Char(',')),
        fakes.common.shown.join(QLatin1Char(',')), fakes.messages.shown.join(QLatin1Char(',')),
        rows.join(QLatin1Char(',')), QString::number(w.SongIndex), w.SongPath, w.SongName,
        w.LblSongName->text(), Tag(w.cmdPause), Tag(w.cmdShuffle), QString::number(w.Timer->isActive()),
        QString::number(fakes.engine.muted), QString::number(lyrics && lyrics->isVisible()) }
        .join(QLatin1Char('|'));
}

// Runs a command on a fresh window in a program folder of its own. With tracks, the window
// holds three, the second selected and playing; the dialogs are cancelled.
QString outcome(const Command &command, bool withTracks)
{
    QTemporaryDir folder;
    setProgramFolder(folder.path());
    FakePlatform fakes;
    frmMP3 w(fakes.platform());
    if (withTracks) {
        for (const char *name : { "uno.mp3", "dos.mp3", "tres.mp3" })
            w.appendEntry(QStringLiteral("/m/") + QLatin1String(name), QLatin1String(name));
        w.selectRow(1);
        w.cmdPlay_Click();
        fakes.engine.calls.clear();
    }
    command(w);
    // Each run has a folder of its own; where a dialog opens in it, the runs still agree.
    const QString seen = observe(fakes, w).replace(folder.path(), QStringLiteral("<program folder>"));
    delete w.existingLyricsWindow();
    return seen;
}

} // namespace

class MenuRouting : public QObject {
    Q_OBJECT
private slots:
    // Each menu command does exactly what the button it stands for does, nothing where the
    // button does nothing.
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
    void menuActsLikeButton()
    {
        QFETCH(QString, item);
        QFETCH(QString, button);
        QFETCH(bool, withTracks);
        QFETCH(bool, changes);
        const QString byMenu
            = outcome([&](frmMP3 &w) { w.findChild<QAction *>(item)->trigger(); }, withTracks);
        const QString byButton
            = outcome([&](frmMP3 &w) { w.findChild<QPushButton *>(button)->click(); }, withTracks);
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
        frmMP3 w(fakes.platform());
        w.BackPic->trigger();
        QCOMPARE(fakes.cmdlg.shown.size(), 1);
        w.SeeLyrics->trigger();
        QVERIFY(w.existingLyricsWindow() && w.existingLyricsWindow()->isVisible());
        w.HideLyrics->trigger();
        QVERIFY(!w.existingLyricsWindow()->isVisible());
        delete w.existingLyricsWindow();
    }
};

QTEST_MAIN(MenuRouting)
#include "menurouting.moc"

#include "windowfakes.h"
#include "files/programfolder.h"
#include "window.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

const QStringList kSwitched { "cmdPlay", "cmdStop", "cmdBack", "cmdForward", "cmdPause", "PlayList", "cdmAdd",
    "cmdDelete", "cmdSave", "cmdLoad", "cmdMute", "Slider", "cmdShuffle", "cmdDelAll" };
const QStringList kKept { "LblSongName", "LblSongTimer1", "Label1", "LblSongTimer2", "lblMM", "Label2",
    "lblSS", "Image1" };

// The names of the window's controls a user can see, sorted.
QStringList visibleControls(const frmMP3 &w)
{
    QStringList names;
    for (const QWidget *child : w.centralWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible())
            names << child->objectName();
    }
    names.sort();
    return names;
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

} // namespace

class CompactView : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.path());
    }

    // "Ocultar Todo" leaves only the label row and the background picture, "Mostrar Todo"
    // brings back the fourteen controls and nothing else, and repeating either changes nothing.
    void hideAndShowAll()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        w.show();
        const QStringList full = sorted(kKept + kSwitched);
        QCOMPARE(visibleControls(w), full);
        for (int i = 0; i < 2; ++i) {
            trigger(w, "Hide");
            QCOMPARE(visibleControls(w), sorted(kKept));
            QVERIFY(w.player().state().compactView());
        }
        for (int i = 0; i < 2; ++i) {
            trigger(w, "Show");
            QCOMPARE(visibleControls(w), full);
            QVERIFY(!w.player().state().compactView());
        }
    }

    // The compact view outlasts a stay in the notification area, and playback goes on untouched.
    void survivesHidingToTray()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        w.show();
        fillPlaylist(w, { QStringLiteral("/music/a.mp3") });
        w.player().state().setSongPath(QStringLiteral("/music/a.mp3"));
        w.player().cmdPlay_Click();
        fakes.engine.calls.clear();

        trigger(w, "Hide");
        w.close();
        fakes.tray.restore();
        QVERIFY(w.isVisible());
        QCOMPARE(visibleControls(w), sorted(kKept));
        QVERIFY(fakes.engine.playing);
        QVERIFY(fakes.engine.calls.isEmpty());
        QCOMPARE(w.player().state().playback(), PlayerState::Playback::Playing);
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(CompactView)
#include "compactview.moc"

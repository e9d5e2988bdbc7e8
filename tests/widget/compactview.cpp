#include "app/picturebox.h"
#include "app/programfolder.h"
#include "extras/frmLyrics.h"
#include "fakes.h"
#include "playlist/playlistbox.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

namespace {

const QStringList switchedInOrder { "cmdPlay", "cmdStop", "cmdBack", "cmdForward", "cmdPause", "PlayList",
    "cdmAdd", "cmdDelete", "cmdSave", "cmdLoad", "cmdMute", "Slider", "cmdShuffle", "cmdDelAll" };

// Notes, in order, which controls the program hid or showed.
class SwitchLog : public QObject {
public:
    QStringList hidden;
    QStringList shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::HideToParent)
            hidden << watched->objectName();
        else if (event->type() == QEvent::ShowToParent)
            shown << watched->objectName();
        return false;
    }
};

QList<QWidget *> alwaysThere(const frmMP3 &w)
{
    return { w.LblSongName, w.LblSongTimer1, w.Label1, w.LblSongTimer2, w.lblMM, w.Label2, w.lblSS,
        w.Image1 };
}

QStringList hiddenControls(const frmMP3 &w)
{
    QStringList names;
    for (const QString &name : switchedInOrder) {
        auto *control = w.centralWidget()->findChild<QWidget *>(name);
        if (control->isHidden())
            names << name;
    }
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

    // "Ocultar Todo" hides the fourteen controls in their order and leaves the label row and
    // the background; "Mostrar Todo" brings them back in the same order.
    void switchesTheFourteenInOrder()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.show();
        SwitchLog log;
        for (QWidget *child : w.centralWidget()->findChildren<QWidget *>())
            child->installEventFilter(&log);

        w.Hide->trigger();
        QCOMPARE(log.hidden, switchedInOrder);
        for (QWidget *kept : alwaysThere(w))
            QVERIFY2(kept->isVisible(), qPrintable(kept->objectName()));

        w.Show->trigger();
        QCOMPARE(log.shown, switchedInOrder);
        QCOMPARE(hiddenControls(w), QStringList());
        for (QWidget *kept : alwaysThere(w))
            QVERIFY(kept->isVisible());
    }

    // Each command sets the view outright: repeating "Ocultar Todo", or "Mostrar Todo" on the
    // full view, changes nothing, and the hidden helpers never come to light.
    void commandsAreIdempotent()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.show();
        w.Show->trigger();
        QCOMPARE(hiddenControls(w), QStringList());
        w.Hide->trigger();
        w.Hide->trigger();
        QCOMPARE(hiddenControls(w), switchedInOrder);
        QVERIFY(w.NameList->isHidden() && w.Text1->isHidden() && w.lista->isHidden());
        w.Show->trigger();
        QVERIFY(w.NameList->isHidden() && w.Text1->isHidden() && w.lista->isHidden());
    }

    // The compact view outlasts a stay in the notification area, and playback is not touched.
    void survivesHidingToTray()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.show();
        fakes.engine.MediaFile(QStringLiteral("/music/a.mp3"));
        fakes.engine.StartPlayback();
        w.Timer->start();
        fakes.engine.calls.clear();

        w.Hide->trigger();
        w.close();
        fakes.tray.restore();
        QVERIFY(w.isVisible());
        QCOMPARE(hiddenControls(w), switchedInOrder);
        QVERIFY(fakes.engine.playing);
        QVERIFY(fakes.engine.calls.isEmpty());
        QVERIFY(w.Timer->isActive());
        delete w.existingLyricsWindow();
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(CompactView)
#include "compactview.moc"

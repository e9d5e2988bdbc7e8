#include "dialogs/qtfiledialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Answers the modal windows that open during a call, in order, as a user would: each step
// receives the next modal window (the dialog, then any question it asks).
class Answers : public QObject {
public:
    explicit Answers(QList<std::function<void(QWidget *)>> steps)
        : m_steps(std::move(steps))
    {
        connect(&m_poll, &QTimer::timeout, this, &Answers::poll);
        m_poll.start(10);
        m_clock.start();
    }
    bool allGiven() const { return m_steps.isEmpty() && !m_gaveUp; }

private:
    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        // A window the steps did not close would hold the test for ever.
        if (modal && m_clock.hasExpired(20000)) {
            m_gaveUp = true;
            QTimer::singleShot(0, modal, [modal] { static_cast<QDialog *>(modal)->reject(); });
            return;
        }
        if (!modal || modal == m_answered || m_steps.isEmpty())
            return;
        m_answered = modal;
        // The step runs after this tick returns, so that the poll goes on inside any question
        // the step makes the dialog ask.
        QTimer::singleShot(0, modal, [step = m_steps.takeFirst(), modal] { step(modal); });
    }

    QList<std::function<void(QWidget *)>> m_steps;
    QTimer m_poll;
    QElapsedTimer m_clock;
    QWidget *m_answered = nullptr;
    bool m_gaveUp = false;
};

QFileDialog *asFileDialog(QWidget *modal)
{
    auto *dialog = qobject_cast<QFileDialog *>(modal);
    if (!dialog)
        qFatal("expected a file dialog, found %s", modal->metaObject()->className());
    return dialog;
}

// Types a name where the dialog puts the cursor, its name field, and confirms it, as a user does.
void choose(QWidget *modal, const QString &name)
{
    auto *field = qobject_cast<QLineEdit *>(modal->focusWidget());
    if (!field)
        qFatal("the file dialog does not open with the cursor in a text field");
    QTest::keyClicks(field, name);
    static_cast<QDialog *>(asFileDialog(modal))->accept();
}

} // namespace

class QtFileDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QVERIFY(m_music.isValid());
        // The home folder and Qt's settings are the test's own.
        qputenv("HOME", m_home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral(".config")).toLocal8Bit());
        QFile song(m_music.filePath(QStringLiteral("a song.mp3")));
        QVERIFY(song.open(QIODevice::WriteOnly));
    }

    // A confirmed file gives its full path and its bare name; the path is the folder, a
    // separator and the name, as callers cut it.
    void openReturnsChosenFile()
    {
        QtFileDialog cmdlg;
        cmdlg.InitDir = m_music.path();
        cmdlg.Filter = QStringLiteral("MP3 Files(*.mp3)|*.mp3|Midi Files (*.mid)|*.mid");
        QString openedIn;
        Answers answers({ [&](QWidget *modal) {
            QFileDialog *dialog = asFileDialog(modal);
            openedIn = dialog->directory().path();
            QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
            QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
            choose(dialog, QStringLiteral("a song.mp3"));
        } });
        cmdlg.ShowOpen();
        QVERIFY(answers.allGiven());
        QCOMPARE(openedIn, m_music.path());
        QCOMPARE(cmdlg.FileName, QDir::toNativeSeparators(m_music.filePath(QStringLiteral("a song.mp3"))));
        QCOMPARE(cmdlg.FileTitle, QStringLiteral("a song.mp3"));
        QCOMPARE(cmdlg.FileName.left(cmdlg.FileName.size() - cmdlg.FileTitle.size()),
            QDir::toNativeSeparators(m_music.path() + u'/'));
    }

    // A confirmed choice tells which filter entry was picked, counted as the caller wrote the
    // pairs, an entry the dialog could not show included.
    void choiceTellsPickedEntry()
    {
        QtFileDialog common;
        common.InitDir = m_music.path();
        common.Filter = QStringLiteral("Nada|(nada)|SMP Files(*.smp)|*.smp|M3U8 (*.m3u8)|*.m3u8");
        Answers answers({ [](QWidget *modal) {
            asFileDialog(modal)->selectNameFilter(QStringLiteral("M3U8 (*.m3u8) (*.m3u8)"));
            choose(modal, QStringLiteral("lista.m3u8"));
        } });
        common.ShowSave();
        QVERIFY(answers.allGiven());
        QCOMPARE(common.FilterIndex, 3);
    }

    // A cancel leaves FileName as the caller set it.
    void cancelKeepsFileName()
    {
        QtFileDialog common;
        common.FileName = QStringLiteral("antes");
        Answers answers({ [](QWidget *modal) { asFileDialog(modal)->reject(); } });
        common.ShowSave();
        QVERIFY(answers.allGiven());
        QCOMPARE(common.FileName, QStringLiteral("antes"));
    }

    // Without a usable starting folder a dialog opens in the home folder, even right after
    // another dialog of the run was left in some other folder.
    void opensAtHomeWithoutStartingFolder()
    {
        QtFileDialog cmdlg;
        cmdlg.InitDir = m_music.path();
        Answers first({ [](QWidget *modal) { choose(modal, QStringLiteral("a song.mp3")); } });
        cmdlg.ShowOpen();
        QVERIFY(first.allGiven());
        QCOMPARE(cmdlg.FileTitle, QStringLiteral("a song.mp3"));

        for (const QString &initDir : { QString(), m_home.filePath(QStringLiteral("no such folder")) }) {
            QtFileDialog common;
            common.InitDir = initDir;
            QString openedIn;
            Answers answers({ [&](QWidget *modal) {
                openedIn = asFileDialog(modal)->directory().path();
                asFileDialog(modal)->reject();
            } });
            common.ShowOpen();
            QVERIFY(answers.allGiven());
            QCOMPARE(openedIn, QDir::homePath());
        }
    }

    // Each showing of one instance opens where its InitDir says and offers its filter again.
    void keepsPropertiesBetweenShowings()
    {
        QtFileDialog common;
        common.InitDir = m_music.path();
        common.Filter = QStringLiteral("SMP Files(*.smp)|*.smp");
        for (int showing = 0; showing < 2; ++showing) {
            QStringList offered;
            QString openedIn;
            Answers answers({ [&](QWidget *modal) {
                openedIn = asFileDialog(modal)->directory().path();
                offered = asFileDialog(modal)->nameFilters();
                asFileDialog(modal)->reject();
            } });
            common.ShowOpen();
            QCOMPARE(openedIn, m_music.path());
            QCOMPARE(offered, QStringList { QStringLiteral("SMP Files(*.smp) (*.smp)") });
        }
    }

    // Nothing of a closed dialog stays open to take the next click on the window below, and a
    // later showing offers nothing of the last choice: confirming it as it stands chooses nothing.
    void laterShowingForgetsLastChoice()
    {
        QtFileDialog cmdlg;
        cmdlg.InitDir = m_music.path();
        Answers first({ [](QWidget *modal) { choose(modal, QStringLiteral("a song.mp3")); } });
        cmdlg.ShowOpen();
        QVERIFY(first.allGiven());
        QCOMPARE(QApplication::activePopupWidget(), nullptr);

        cmdlg.FileName = QString();
        QStringList selected;
        bool stayedOpen = false;
        Answers second({ [&](QWidget *modal) {
            QFileDialog *dialog = asFileDialog(modal);
            selected = dialog->selectedFiles();
            static_cast<QDialog *>(dialog)->accept();
            stayedOpen = dialog->isVisible();
            dialog->reject();
        } });
        cmdlg.ShowOpen();
        QVERIFY(second.allGiven());
        QCOMPARE(selected, QStringList());
        QVERIFY(stayedOpen);
        QCOMPARE(cmdlg.FileName, QString());
    }

    // Saving over an existing file asks first; only a yes gives the name back.
    void saveAsksBeforeReplacing()
    {
        QtFileDialog common;
        common.InitDir = m_music.path();
        common.FileName = QString();
        bool asked = false;
        auto chooseExisting = [](QWidget *modal) { choose(modal, QStringLiteral("a song.mp3")); };
        Answers answers({ chooseExisting, [&](QWidget *modal) {
                             auto *question = qobject_cast<QMessageBox *>(modal);
                             QVERIFY(question);
                             asked = true;
                             question->button(QMessageBox::Yes)->click();
                         } });
        common.ShowSave();
        QVERIFY(answers.allGiven());
        QVERIFY(asked);
        QCOMPARE(common.FileTitle, QStringLiteral("a song.mp3"));
    }

    // A name typed without an extension under an entry that has one takes it before Qt asks
    // whether to replace the file of that name.
    void saveGivesPickedEntryItsExtension()
    {
        QFile existing(m_music.filePath(QStringLiteral("mezcla.m3u8")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        QtFileDialog common;
        common.InitDir = m_music.path();
        common.Filter = QStringLiteral("SMP Files(*.smp)|*.smp|M3U8 (*.m3u8)|*.m3u8");
        common.DefaultExtensions = { QString(), QStringLiteral("m3u8") };
        Answers answers({ [](QWidget *modal) {
                             asFileDialog(modal)->selectNameFilter(QStringLiteral("M3U8 (*.m3u8) (*.m3u8)"));
                             choose(modal, QStringLiteral("mezcla"));
                         },
            [](QWidget *modal) { qobject_cast<QMessageBox *>(modal)->button(QMessageBox::Yes)->click(); } });
        common.ShowSave();
        QVERIFY(answers.allGiven());
        QCOMPARE(common.FileTitle, QStringLiteral("mezcla.m3u8"));
    }

private:
    QTemporaryDir m_home;
    QTemporaryDir m_music;
};

QTEST_MAIN(QtFileDialogTest)
#include "qtfiledialog.moc"

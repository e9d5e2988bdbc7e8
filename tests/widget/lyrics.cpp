#include "app/programfolder.h"
#include "extras/frmLyrics.h"
#include "fakes.h"
#include "window.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

class Lyrics : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_folder.emplace();
        QVERIFY(m_folder->isValid());
        setProgramFolder(m_folder->path());
        QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("Lyrics")));
        m_fakes.emplace();
        m_window.emplace(m_fakes->platform());
    }
    void cleanup()
    {
        m_window.reset();
        m_fakes.reset();
    }

    // Play empties the window first, so a track without lyrics never shows the last track's.
    void playEmptiesTheWindow()
    {
        write(QStringLiteral("a.txt"), "letra de a");
        play(QStringLiteral("a.mp3"));
        QCOMPARE(shown(), QStringLiteral("letra de a"));
        play(QStringLiteral("sin letra.mp3"));
        QCOMPARE(shown(), QString());
    }

    // The window has a fixed size without a maximise button, and the user cannot type into its text.
    void windowIsFixedAndReadOnly()
    {
        trigger(*m_window, "SeeLyrics");
        frmLyrics *lyrics = m_window->existingLyricsWindow();
        QVERIFY(lyrics && lyrics->isVisible() && !lyrics->parentWidget());
        QCOMPARE(lyrics->minimumSize(), lyrics->maximumSize());
        QVERIFY(!(lyrics->windowFlags() & Qt::WindowMaximizeButtonHint));
        lyrics->setLyrics(QStringLiteral("letra"));
        auto *box = control<QPlainTextEdit>(*lyrics, "txtLyrics");
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("xyz"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(lyrics->lyrics(), QStringLiteral("letra"));
    }

    // Hiding keeps the text (and builds the window when there is none); closing discards
    // the window, and the next showing builds it afresh and empty.
    void hideKeepsCloseDiscards()
    {
        trigger(*m_window, "HideLyrics");
        QVERIFY(m_window->existingLyricsWindow() && !m_window->existingLyricsWindow()->isVisible());
        write(QStringLiteral("tema.txt"), "letra");
        m_window->state().setSongName(QStringLiteral("tema.mp3"));
        m_window->LoadLyrics();
        trigger(*m_window, "SeeLyrics");
        trigger(*m_window, "HideLyrics");
        trigger(*m_window, "SeeLyrics");
        QCOMPARE(shown(), QStringLiteral("letra"));

        m_window->existingLyricsWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!m_window->existingLyricsWindow());
        trigger(*m_window, "SeeLyrics");
        QVERIFY(m_window->existingLyricsWindow()->isVisible());
        QCOMPARE(shown(), QString());
    }

private:
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(besideProgram(QStringLiteral("Lyrics/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void play(const QString &name)
    {
        m_window->state().setSongPath(QStringLiteral("/m/") + name);
        m_window->state().setSongName(name);
        m_window->cmdPlay_Click();
    }

    QString shown() const
    {
        const frmLyrics *lyrics = m_window->existingLyricsWindow();
        return lyrics ? lyrics->lyrics() : QStringLiteral("<no window>");
    }

    std::optional<QTemporaryDir> m_folder;
    std::optional<FakePlatform> m_fakes;
    std::optional<frmMP3> m_window;
};

QTEST_MAIN(Lyrics)
#include "lyrics.moc"

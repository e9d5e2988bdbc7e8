#include "app/programfolder.h"
#include "extras/frmLyrics.h"
#include "fakes.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
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
    }

    // Each track finds its lyrics in the Lyrics folder beside the program by its display
    // name less exactly four characters; a name under four characters looks for ".txt".
    void fileByName_data()
    {
        QTest::addColumn<QString>("song");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("lyricsName");
        QTest::newRow("mp3") << "tema.mp3"
                             << "tema.txt"
                             << "tema";
        QTest::newRow("four-letter extension") << "tema.mpeg"
                                               << "tema..txt"
                                               << "tema.";
        QTest::newRow("short name") << "ab"
                                    << ".txt"
                                    << "";
    }
    void fileByName()
    {
        QFETCH(QString, song);
        QFETCH(QString, file);
        QFETCH(QString, lyricsName);
        write(file, "la letra\r\nsegunda");
        write(QStringLiteral("otra.txt"), "otra");
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.SongName = song;
        w.LoadLyrics();
        QCOMPARE(w.LyricsName, lyricsName);
        QCOMPARE(text(w), QStringLiteral("la letra\nsegunda"));
        delete w.existingLyricsWindow();
    }

    // Play empties the window first: an empty lyrics file, a missing one, a missing folder
    // or a folder in the file's place leave it empty.
    void emptyWhenNothingToRead()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        write(QStringLiteral("a.txt"), "letra de a");
        write(QStringLiteral("b.txt"), "");
        QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("Lyrics/d.txt")));
        w.SongPath = QStringLiteral("/m/a.mp3");
        for (const char *name : { "b.mp3", "c.mp3", "d.mp3" }) {
            w.SongName = QStringLiteral("a.mp3");
            w.cmdPlay_Click();
            QCOMPARE(text(w), QStringLiteral("letra de a"));
            w.SongName = QString::fromLatin1(name);
            w.cmdPlay_Click();
            QCOMPARE(text(w), QString());
        }
        QVERIFY(QDir(besideProgram(QStringLiteral("Lyrics"))).removeRecursively());
        w.SongName = QStringLiteral("a.mp3");
        w.cmdPlay_Click();
        QCOMPARE(text(w), QString());
        delete w.existingLyricsWindow();
    }

    // A lyrics file written on Windows shows its accents.
    void windowsFile()
    {
        write(QStringLiteral("tema.txt"), "canci\xf3n del coraz\xf3n");
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.SongName = QStringLiteral("tema.mp3");
        w.LoadLyrics();
        QCOMPARE(text(w), QStringLiteral("canción del corazón"));
        delete w.existingLyricsWindow();
    }

    // The window has no title text, a fixed size, stands right of the main window and
    // holds one read-only text box with a vertical scroll bar.
    void window()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.SeeLyrics->trigger();
        frmLyrics *lyrics = w.existingLyricsWindow();
        QVERIFY(lyrics && lyrics->isVisible());
        QVERIFY(lyrics->isWindow() && !lyrics->parentWidget());
        QVERIFY(lyrics->windowTitle().trimmed().isEmpty());
        QCOMPARE(lyrics->geometry(), QRect(463, 149, 313, 322));
        QCOMPARE(lyrics->minimumSize(), lyrics->maximumSize());
        QVERIFY(!(lyrics->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(lyrics->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(!lyrics->windowIcon().isNull());
        QCOMPARE(lyrics->txtLyrics->geometry(), QRect(0, 0, 313, 321));
        QVERIFY(lyrics->txtLyrics->isReadOnly());
        QCOMPARE(lyrics->txtLyrics->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(text(w).isEmpty());
        delete lyrics;
    }

    // Hiding keeps the text (and builds the window when there is none); closing it removes
    // it, and the next showing builds it afresh and empty.
    void hideAndClose()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        w.HideLyrics->trigger();
        QVERIFY(w.existingLyricsWindow());
        QVERIFY(!w.existingLyricsWindow()->isVisible());

        write(QStringLiteral("tema.txt"), "letra");
        w.SongName = QStringLiteral("tema.mp3");
        w.LoadLyrics();
        w.SeeLyrics_Click();
        w.HideLyrics_Click();
        w.SeeLyrics_Click();
        QCOMPARE(text(w), QStringLiteral("letra"));

        w.existingLyricsWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!w.existingLyricsWindow());
        w.SeeLyrics_Click();
        QVERIFY(w.existingLyricsWindow()->isVisible());
        QCOMPARE(text(w), QString());
        delete w.existingLyricsWindow();
    }

private:
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(besideProgram(QStringLiteral("Lyrics/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static QString text(const frmMP3 &w)
    {
        const frmLyrics *lyrics = w.existingLyricsWindow();
        return lyrics ? lyrics->txtLyrics->toPlainText() : QStringLiteral("<no window>");
    }

    std::optional<QTemporaryDir> m_folder;
};

QTEST_MAIN(Lyrics)
#include "lyrics.moc"

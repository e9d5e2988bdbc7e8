#include "files/lyricsfile.h"
#include "files/programfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

class LyricsFile : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.path());
    }

    // Exactly four characters go, whatever they are, but a newer kind's extension goes whole;
    // a shorter name has no base name.
    void baseName()
    {
        QCOMPARE(lyricsBaseName(QStringLiteral("tema.FLAC")), QStringLiteral("tema"));
        QCOMPARE(lyricsBaseName(QStringLiteral("tema.opus")), QStringLiteral("tema"));
        QCOMPARE(lyricsBaseName(QStringLiteral("tema.mp3")), QStringLiteral("tema"));
        QCOMPARE(lyricsBaseName(QStringLiteral("tema.mpeg")), QStringLiteral("tema."));
        QCOMPARE(lyricsBaseName(QStringLiteral("canción.wav")), QStringLiteral("canción"));
        QCOMPARE(lyricsBaseName(QStringLiteral(".mp3")), QString());
        QVERIFY(!lyricsBaseName(QStringLiteral("abc")));
        QVERIFY(!lyricsBaseName(QString()));
    }

    // The lyrics live in the Lyrics folder beside the program, never beside the song.
    void pathBesideProgram()
    {
        QCOMPARE(lyricsPath(QStringLiteral("tema")), m_folder.filePath(QStringLiteral("Lyrics/tema.txt")));
        QCOMPARE(lyricsPath(QString()), m_folder.filePath(QStringLiteral("Lyrics/.txt")));
        QCOMPARE(
            timedLyricsPath(QStringLiteral("tema")), m_folder.filePath(QStringLiteral("Lyrics/tema.lrc")));
    }

    // CR LF and CR line ends become the box's own; an empty file gives an empty text, not a
    // failure.
    void lineEndsAndEmpty()
    {
        QCOMPARE(readLyrics(write("a.txt", "uno\r\ndos\r\n")), QStringLiteral("uno\ndos\n"));
        QCOMPARE(readLyrics(write("c.txt", "uno\rdos\r")), QStringLiteral("uno\ndos\n"));
        const auto empty = readLyrics(write("b.txt", ""));
        QVERIFY(empty);
        QVERIFY(empty->isEmpty());
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Windows-1252") << QByteArray("canci\xf3n\r\n");
        QTest::newRow("UTF-8") << QByteArray("canci\xc3\xb3n\r\n");
        QTest::newRow("UTF-8 with its mark") << QByteArray("\xef\xbb\xbf"
                                                           "canci\xc3\xb3n\r\n");
        QTest::newRow("UTF-16 LE") << QByteArray("\xff\xfe"
                                                 "c\0a\0n\0c\0i\0\xf3\0n\0\r\0\n\0",
            20);
        QTest::newRow("UTF-16 BE") << QByteArray("\xfe\xff"
                                                 "\0c\0a\0n\0c\0i\0\xf3\0n\0\r\0\n",
            20);
    }

    // Each file shows its accents, whatever encoding it was written in; a byte-order mark
    // decides for the whole file and is not shown.
    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(readLyrics(write("e.txt", bytes)), QStringLiteral("canción\n"));
    }

    // A missing file, a folder or a FIFO are not read; a FIFO would block the player.
    void notRegularFiles()
    {
        QVERIFY(!readLyrics(m_folder.filePath(QStringLiteral("missing.txt"))));
        QVERIFY(QDir(m_folder.path()).mkpath(QStringLiteral("folder.txt")));
        QVERIFY(!readLyrics(m_folder.filePath(QStringLiteral("folder.txt"))));
#ifdef Q_OS_UNIX
        const QString fifo = m_folder.filePath(QStringLiteral("fifo.txt"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(!readLyrics(fifo));
#endif
    }

    // Only the first mebibyte is shown, and a character split at the cut does not turn the
    // whole UTF-8 text into Windows-1252.
    void largeFileIsCut()
    {
        QByteArray bytes(maxLyricsBytes - 1, 'a');
        bytes += "\xc3\xb3 y mucho m\xc3\xa1s";
        const auto text = readLyrics(write("big.txt", bytes));
        QVERIFY(text);
        QCOMPARE(QString(*text).remove(QLatin1Char('\n')).size(), maxLyricsBytes - 1);
        QVERIFY(!text->contains(QChar(0xc3)));

        QByteArray windows(maxLyricsBytes + 10, 'b');
        windows[5] = '\xf3';
        const auto cut = readLyrics(write("big1252.txt", windows));
        QVERIFY(cut);
        QCOMPARE(QString(*cut).remove(QLatin1Char('\n')).size(), maxLyricsBytes);
        QCOMPARE(cut->at(5), QChar(0xf3));
    }

    // A line with nowhere to wrap is broken into lines of maxLyricsLine characters, never
    // between the halves of a character outside the BMP; shorter lines stay as they are.
    void longLinesAreBroken()
    {
        const QString line(maxLyricsLine, QLatin1Char('x'));
        QCOMPARE(breakLongLines(line + QStringLiteral("\ncorta")), line + QStringLiteral("\ncorta"));
        QCOMPARE(breakLongLines(line + line + QStringLiteral("yz")),
            line + QLatin1Char('\n') + line + QLatin1Char('\n') + QStringLiteral("yz"));
        const QString clef = QStringLiteral("\U0001D11E");
        const QString split = breakLongLines(line.first(maxLyricsLine - 1) + clef);
        QCOMPARE(split, line.first(maxLyricsLine - 1) + clef);
        const QString after = breakLongLines(line + clef);
        QCOMPARE(after, line + QLatin1Char('\n') + clef);
    }

private:
    QString write(const char *name, const QByteArray &bytes)
    {
        const QString path = m_folder.filePath(QString::fromLatin1(name));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }

    QTemporaryDir m_folder;
};

QTEST_APPLESS_MAIN(LyricsFile)
#include "lyricsfile.moc"

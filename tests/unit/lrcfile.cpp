#include "files/lrcfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Cues = QList<LyricsCue>;

class LrcFile : public QObject {
    Q_OBJECT
private slots:
    // Time tags, blanks between them and metadata lines, their keys in any case, are not
    // shown; every time of a line marks it, 60 seconds as rounding tools write included, and
    // the cues come out in time order whatever the order of the lines.
    void linesAndTimes()
    {
        const TimedLyrics lyrics
            = parseLrc(QStringLiteral("[ar:Artista]\r\n[ti: Título ]\n[length:03:20]\n[AL:Disco]\n"
                                      "[00:12.50] [01:02.5] Estribillo\n"
                                      "[00:05]Primera\n"
                                      "[00:20:07]Segunda <00:21.00>con<00:60.00>palabras\n"
                                      "[00:30.123]\n"
                                      "[Coro: todos]\n"
                                      "[01:60]Fin\n"
                                      "sin tiempo"));
        QCOMPARE(lyrics.lines,
            (QStringList { QStringLiteral("Estribillo"), QStringLiteral("Primera"),
                QStringLiteral("Segunda conpalabras"), QString(), QStringLiteral("[Coro: todos]"),
                QStringLiteral("Fin"), QStringLiteral("sin tiempo") }));
        QCOMPARE(lyrics.cues,
            (Cues { { 5000, 1 }, { 12500, 0 }, { 20070, 2 }, { 30123, 3 }, { 62500, 0 }, { 120000, 5 } }));
    }

    void otherPlayersForms_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<Cues>("cues");
        QTest::newRow("blank between tags") << QStringLiteral("[00:01.00] [00:05.00]coro")
                                            << QStringList { "coro" } << Cues { { 1000, 0 }, { 5000, 0 } };
        QTest::newRow("keys in capitals") << QStringLiteral("[AR:x]\n[Offset:+500]\n[00:01.00]a")
                                          << QStringList { "a" } << Cues { { 500, 0 } };
        QTest::newRow("sixty seconds")
            << QStringLiteral("[00:60.00]a <01:60.5>b") << QStringList { "a b" } << Cues { { 60000, 0 } };
    }
    // Forms other tools write are read as other players read them.
    void otherPlayersForms()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QFETCH(Cues, cues);
        const TimedLyrics lyrics = parseLrc(text);
        QCOMPARE(lyrics.lines, lines);
        QCOMPARE(lyrics.cues, cues);
    }

    // A positive offset shows every line sooner, a negative one later; no time goes below zero.
    void offset()
    {
        QCOMPARE(parseLrc(QStringLiteral("[Offset:+500]\n[00:00.20]a\n[00:02.00]b")).cues,
            (Cues { { 0, 0 }, { 1500, 1 } }));
        QCOMPARE(parseLrc(QStringLiteral("[00:01.00]a\n[offset:-250]")).cues, (Cues { { 1250, 0 } }));
        QCOMPARE(parseLrc(QStringLiteral("[offset:mucho]\n[00:01.00]a")).cues, (Cues { { 1000, 0 } }));
    }

    // The marked line is the one of the last time reached; nothing before the first time.
    void marking()
    {
        const TimedLyrics lyrics = parseLrc(QStringLiteral("título\n[00:01.00]a\n[00:03.00]b\n[00:03.00]c"));
        QCOMPARE(markedLine(lyrics, 0), std::nullopt);
        QCOMPARE(markedLine(lyrics, 999), std::nullopt);
        QCOMPARE(markedLine(lyrics, 1000), qsizetype(1));
        QCOMPARE(markedLine(lyrics, 2999), qsizetype(1));
        QCOMPARE(markedLine(lyrics, 3000), qsizetype(3));
        QCOMPARE(markedLine(lyrics, 3'600'000), qsizetype(3));
        QCOMPARE(markedLine(parseLrc(QStringLiteral("solo texto")), 5000), std::nullopt);
    }

    // Broken tags are text: they are shown as written and mark nothing.
    void brokenTags_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("seconds past 59") << QStringLiteral("[00:75.00]x");
        QTest::newRow("unclosed") << QStringLiteral("[00:01.00x");
        QTest::newRow("letters") << QStringLiteral("[aa:bb]x");
        QTest::newRow("huge minutes") << QStringLiteral("[9999999999:00]x");
        QTest::newRow("other digits") << QStringLiteral("[٠٠:٠١]x");
        QTest::newRow("empty tag") << QStringLiteral("[]x");
    }
    void brokenTags()
    {
        QFETCH(QString, line);
        const TimedLyrics lyrics = parseLrc(line);
        QCOMPARE(lyrics.lines, QStringList { line });
        QVERIFY(lyrics.cues.isEmpty());
    }

    // An .lrc file is read like a lyrics text file: a Windows file keeps its accents.
    void readsLikeText()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("tema.lrc")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[00:01.00]canci\xf3n\r\n");
        file.close();
        const auto lyrics = readTimedLyrics(file.fileName());
        QVERIFY(lyrics);
        QCOMPARE(lyrics->text(), QStringLiteral("canción\n"));
        QVERIFY(!readTimedLyrics(folder.filePath(QStringLiteral("falta.lrc"))));
    }
};

QTEST_GUILESS_MAIN(LrcFile)
#include "lrcfile.moc"

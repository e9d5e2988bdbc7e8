#include "playlist/smpfile.h"

#include <QtTest>

class PlaylistFile : public QObject {
    Q_OBJECT
private slots:
    // Every name is followed by CR LF, the last one too, and nothing else is written.
    void namesBecomeCrLfLines()
    {
        const auto bytes = encodePlaylist({ "uno.mp3", "Rock, Pop.mp3", "", "canción.mid" });
        QVERIFY(bytes);
        QCOMPARE(*bytes, QByteArray("uno.mp3\r\nRock, Pop.mp3\r\n\r\ncanci\xc3\xb3n.mid\r\n"));
        QCOMPARE(*encodePlaylist({}), QByteArray());
    }

    // A name holding a line break would read back as two entries, so nothing is encoded.
    void lineBreakInNameRefused()
    {
        QVERIFY(!encodePlaylist({ "a.mp3", "two\nlines.mp3" }));
        QVERIFY(!encodePlaylist({ "carriage\rreturn.mp3" }));
    }

    void lineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("crlf") << QByteArray("a.mp3\r\nb.mp3\r\n") << QStringList { "a.mp3", "b.mp3" };
        QTest::newRow("lf") << QByteArray("a.mp3\nb.mp3\n") << QStringList { "a.mp3", "b.mp3" };
        QTest::newRow("cr") << QByteArray("a.mp3\rb.mp3\r") << QStringList { "a.mp3", "b.mp3" };
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd") << QStringList { "a", "b", "c", "d" };
        QTest::newRow("no final end") << QByteArray("a.mp3\r\nb.mp3") << QStringList { "a.mp3", "b.mp3" };
        QTest::newRow("empty line") << QByteArray("a\r\n\r\nb\r\n") << QStringList { "a", "", "b" };
        QTest::newRow("lf cr is two ends") << QByteArray("a\n\rb") << QStringList { "a", "", "b" };
        QTest::newRow("lone crlf") << QByteArray("\r\n") << QStringList { "" };
        QTest::newRow("empty file") << QByteArray() << QStringList {};
    }

    // Any of the three line ends closes a line, and none is ever part of a name.
    void lineEnds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        QCOMPARE(decodePlaylist(bytes), names);
    }

    // Each line is judged on its own: a Windows-1252 line beside a UTF-8 one keeps both accents.
    void encodingPerLine()
    {
        const QByteArray bytes("canci\xf3n.mp3\r\ncanci\xc3\xb3n.mp3\r\n");
        QCOMPARE(decodePlaylist(bytes), (QStringList { "canción.mp3", "canción.mp3" }));
    }

    // Saving and reading back gives the same names, in the same order.
    void roundTrip()
    {
        const QStringList names { "Rock, Pop.mp3", "mix", "", "ñandú.wav", " espacio .mid" };
        QCOMPARE(decodePlaylist(*encodePlaylist(names)), names);
    }

    // Reading stops after maxNames names, however long the file.
    void stopsAtMaxNames()
    {
        QByteArray bytes;
        for (int i = 0; i < 40000; ++i)
            bytes += "x.mp3\n";
        QCOMPARE(decodePlaylist(bytes).size(), kPlaylistCapacity);
        QCOMPARE(decodePlaylist(bytes, 3).size(), 3);
        QCOMPARE(decodePlaylist(bytes, 0).size(), 0);
    }

    // A file read in part loses only its cut-off last line.
    void completeLinesDropsTheCutLine()
    {
        QCOMPARE(completeLines("a\r\nb\r\nhal"), QByteArray("a\r\nb\r\n"));
        QCOMPARE(completeLines("a\r\nb\r"), QByteArray("a\r\nb\r"));
        QCOMPARE(completeLines("no end at all"), QByteArray());
        QCOMPARE(completeLines(""), QByteArray());
    }
};

QTEST_GUILESS_MAIN(PlaylistFile)
#include "playlistfile.moc"

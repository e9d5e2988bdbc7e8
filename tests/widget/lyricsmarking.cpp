#include "extras/frmLyrics.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest>

class LyricsMarking : public QObject {
    Q_OBJECT
private slots:
    // The marked line shows highlighted and in view however far down it is, the last one too; clearing the
    // mark, or new text, leaves every line plain.
    void markedLineShowsHighlightedInView()
    {
        frmLyrics window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << QStringLiteral("<b>línea</b> %1").arg(i);
        window.setLyrics(lines.join(u'\n'));
        QCOMPARE(window.lyrics(), lines.join(u'\n'));

        window.markLine(150);
        QCOMPARE(window.markedLine(), qsizetype(150));
        QVERIFY(highlighted(window, 150));
        QVERIFY(!highlighted(window, 149));
        QVERIFY(!highlighted(window, 151));

        window.clearMark();
        QVERIFY(!window.markedLine());
        QVERIFY(!highlighted(window, 150));

        window.markLine(10);
        window.setLyrics(lines.join(u'\n'));
        QVERIFY(!window.markedLine());
        window.markLine(200);
        QVERIFY(!window.markedLine());
        // The last line, with no line end after it, is marked across the window too.
        window.markLine(199);
        QVERIFY(highlighted(window, 199));
    }

private:
    // Whether the line is in view with the highlight colour behind its text.
    static bool highlighted(frmLyrics &window, int line)
    {
        auto *box = window.findChild<QPlainTextEdit *>(QStringLiteral("txtLyrics"));
        const QRect row = box->cursorRect(QTextCursor(box->document()->findBlockByNumber(line)));
        if (!box->viewport()->rect().contains(row.center()))
            return false;
        const QImage picture = box->viewport()->grab().toImage();
        // Well right of the text, where only a mark of the whole line reaches.
        const QPoint right(box->viewport()->width() * 3 / 4, row.center().y());
        return picture.pixelColor(right * picture.devicePixelRatio()) == box->palette().highlight().color();
    }
};

QTEST_MAIN(LyricsMarking)
#include "lyricsmarking.moc"

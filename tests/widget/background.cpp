#include "widgets/picturebox.h"
#include "window.h"

#include <QtTest>

class Background : public QObject {
    Q_OBJECT
private slots:
    // A chosen picture shows at once, and a file that is no picture, like a "Pic.txt" that
    // names none at start, leaves the window's plain background.
    void chosenPictureShows()
    {
        ProgramFolder folder;
        QVERIFY(writeFile(besideProgram("Pic.txt"), "/no/existe.bmp\r\n"));
        QImage red(40, 30, QImage::Format_RGB32);
        red.fill(QColor(255, 0, 0));
        QVERIFY(red.save(folder.filePath("rojo.jpg")));
        QVERIFY(writeFile(folder.filePath("texto.bmp"), "esto no es una imagen\r\n"));
        FakePlatform fakes;
        fakes.cmdlg.answers = { folder.filePath("rojo.jpg"), folder.filePath("texto.bmp") };
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        auto *shown = control<PictureBox>(w, "Image1");
        QVERIFY(!shown->hasPicture());
        trigger(w, "BackPic");
        QVERIFY(shown->hasPicture());
        trigger(w, "BackPic");
        QVERIFY(!shown->hasPicture());
    }
};

QTEST_MAIN(Background)
#include "background.moc"

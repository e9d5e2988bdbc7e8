#include "playertest.h"

#include <QtTest>

class Background : public QObject {
    Q_OBJECT
private slots:
    // "Imagen de Fondo" asks for a picture where the last add left the dialog; a chosen
    // file becomes the background and is remembered as the user chose it, picture or not,
    // and a cancel changes nothing.
    void choosingAPicture()
    {
        PlayerRig r;
        const QString picture = QStringLiteral("/fotos/fondo rojo.jpg");
        const QString notAPicture = QStringLiteral("/fotos/texto.bmp");
        r.fakes.cmdlg.InitDir = "/discos/b/";
        r.fakes.cmdlg.answers = { picture, QString(), notAPicture };

        r.p.BackPic_Click();
        QCOMPARE(r.fakes.cmdlg.shown, QStringList { "open /discos/b/" });
        QCOMPARE(r.fakes.cmdlg.lastFilter,
            QStringLiteral("BMP Files(*.bmp)|*.bmp|JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif"));
        QCOMPARE(r.state().backgroundPath(), picture);
        QCOMPARE(readFile(besideProgram("Pic.txt")), picture.toUtf8() + "\r\n");

        r.p.BackPic_Click();
        QCOMPARE(r.state().backgroundPath(), picture);
        QCOMPARE(readFile(besideProgram("Pic.txt")), picture.toUtf8() + "\r\n");

        r.p.BackPic_Click();
        QCOMPARE(r.state().backgroundPath(), notAPicture);
        QCOMPARE(readFile(besideProgram("Pic.txt")), notAPicture.toUtf8() + "\r\n");
    }

    void restoredPath_data()
    {
        QTest::addColumn<QByteArray>("content"); // "<none>" for no Pic.txt
        QTest::addColumn<QString>("path");
        QTest::newRow("picture") << QByteArray("/fotos/fondo.jpg\r\n") << "/fotos/fondo.jpg";
        QTest::newRow("no Pic.txt") << QByteArray("<none>") << QString();
        QTest::newRow("only CR LF") << QByteArray("\r\n") << QString();
        // The last two characters are taken for the line end, so the path no longer names the picture.
        QTest::newRow("edited without line end") << QByteArray("/fotos/fondo.jpg") << "/fotos/fondo.j";
    }
    // The background comes back as "Pic.txt" names it, and the file stays as it was.
    void restoredPath()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, path);
        PlayerRig r;
        if (content != "<none>")
            QVERIFY(writeFile(besideProgram("Pic.txt"), content));
        r.p.restoreBackground();
        QCOMPARE(r.state().backgroundPath(), path);
        QCOMPARE(readFile(besideProgram("Pic.txt")), content == "<none>" ? QByteArray("<missing>") : content);
    }
};

QTEST_GUILESS_MAIN(Background)
#include "background.moc"

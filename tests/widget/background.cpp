#include "app/picturebox.h"
#include "windowfakes.h"
#include "files/programfolder.h"
#include "window.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool showsPicture(const frmMP3 &w)
{
    return control<PictureBox>(w, "Image1")->hasPicture();
}

} // namespace

class Background : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_folder.emplace();
        QVERIFY(m_folder->isValid());
        setProgramFolder(m_folder->path());
        m_picture = m_folder->filePath("fondo rojo.jpg");
        QImage red(40, 30, QImage::Format_RGB32);
        red.fill(QColor(255, 0, 0));
        QVERIFY(red.save(m_picture));
    }

    // "Imagen de Fondo" asks for a picture where the last add left the dialog; a chosen
    // picture shows at once and is remembered, a cancel changes nothing, and a file that is
    // no picture clears the picture yet is remembered as the user chose it.
    void choosingAPicture()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        const QString notAPicture = m_folder->filePath("texto.bmp");
        QVERIFY(writeFile(notAPicture, "esto no es una imagen\r\n"));
        fakes.cmdlg.InitDir = "/discos/b/";
        fakes.cmdlg.answers = { m_picture, QString(), notAPicture };

        trigger(w, "BackPic");
        QCOMPARE(fakes.cmdlg.shown, QStringList { "open /discos/b/" });
        QCOMPARE(fakes.cmdlg.lastFilter,
            QStringLiteral("BMP Files(*.bmp)|*.bmp|JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif"));
        QVERIFY(showsPicture(w));
        QCOMPARE(w.player().state().backgroundPath(), m_picture);
        QCOMPARE(readFile(pictxt()), m_picture.toUtf8() + "\r\n");

        trigger(w, "BackPic");
        QVERIFY(showsPicture(w));
        QCOMPARE(readFile(pictxt()), m_picture.toUtf8() + "\r\n");

        trigger(w, "BackPic");
        QVERIFY(!showsPicture(w));
        QCOMPARE(readFile(pictxt()), notAPicture.toUtf8() + "\r\n");
    }

    void startWithoutPicture_data()
    {
        QTest::addColumn<QByteArray>("content"); // "<none>" for no Pic.txt
        QTest::addColumn<QString>("path");
        QTest::newRow("no Pic.txt") << QByteArray("<none>") << QString();
        QTest::newRow("missing file") << QByteArray("/no/existe.bmp\r\n") << "/no/existe.bmp";
        QTest::newRow("only CR LF") << QByteArray("\r\n") << QString();
        // The last two characters are taken for the line end, so the path no longer names the picture.
        QTest::newRow("edited without line end") << QByteArray("<picture>") << "<picture less two>";
    }

    // When "Pic.txt" names no readable picture the window starts on its plain background,
    // and the file stays as it was.
    void startWithoutPicture()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, path);
        if (content == "<picture>")
            content = m_picture.toUtf8();
        if (path == "<picture less two>")
            path = m_picture.chopped(2);
        if (content != "<none>")
            QVERIFY(writeFile(pictxt(), content));
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        QCOMPARE(w.player().state().backgroundPath(), path);
        QVERIFY(!showsPicture(w));
        QCOMPARE(readFile(pictxt()), content == "<none>" ? QByteArray("<missing>") : content);
    }

private:
    QString pictxt() const { return m_folder->filePath("Pic.txt"); }

    std::optional<QTemporaryDir> m_folder;
    QString m_picture;
};

QTEST_MAIN(Background)
#include "background.moc"

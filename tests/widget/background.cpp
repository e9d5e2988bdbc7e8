#include "app/picturebox.h"
#include "app/programfolder.h"
#include "fakes.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kPictureFilter
    = QStringLiteral("BMP Files(*.bmp)|*.bmp|JPG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif");

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

    // A chosen picture fills the window at once, is remembered, and shows at the next start.
    void chosenPictureRemembered()
    {
        {
            FakePlatform fakes;
            frmMP3 w(fakes.platform());
            QVERIFY(!w.Image1->hasPicture());
            fakes.cmdlg.answers = { m_picture };
            w.BackPic_Click();
            QCOMPARE(fakes.cmdlg.lastFilter, kPictureFilter);
            QVERIFY(w.Image1->hasPicture());
            QCOMPARE(w.Image1->picture().size(), w.Image1->size());
            QCOMPARE(readFile(pictxt()), m_picture.toUtf8() + "\r\n");
        }
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        QCOMPARE(w.Text1->text(), m_picture);
        QVERIFY(w.Image1->hasPicture());
        QVERIFY(w.Image1->picture().pixelColor(10, 10).red() > 240);
    }

    // The picture dialog opens where the last add left it.
    void dialogKeepsItsFolder()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fakes.cmdlg.InitDir = "/discos/b/";
        w.BackPic_Click();
        QCOMPARE(fakes.cmdlg.shown, QStringList { "open /discos/b/" });
    }

    // Cancelling after an earlier choice changes neither the picture nor "Pic.txt".
    void cancelChangesNothing()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        fakes.cmdlg.answers = { m_picture, QString() };
        w.BackPic_Click();
        w.BackPic_Click();
        QVERIFY(w.Image1->hasPicture());
        QCOMPARE(readFile(pictxt()), m_picture.toUtf8() + "\r\n");
    }

    // A text file named .bmp shows no picture, and replaces the one shown before, but it
    // is remembered as chosen; the next start shows no picture either.
    void notAPictureStillRemembered()
    {
        const QString fake = m_folder->filePath("texto.bmp");
        QVERIFY(writeFile(fake, "esto no es una imagen\r\n"));
        {
            FakePlatform fakes;
            frmMP3 w(fakes.platform());
            fakes.cmdlg.answers = { m_picture, fake };
            w.BackPic_Click();
            w.BackPic_Click();
            QVERIFY(!w.Image1->hasPicture());
            QCOMPARE(readFile(pictxt()), fake.toUtf8() + "\r\n");
        }
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        QCOMPARE(w.Text1->text(), fake);
        QVERIFY(!w.Image1->hasPicture());
    }

    void startWithoutPicture_data()
    {
        QTest::addColumn<QByteArray>("content"); // "<none>" for no Pic.txt
        QTest::addColumn<QString>("text1");
        QTest::newRow("no Pic.txt") << QByteArray("<none>") << QString();
        QTest::newRow("missing file") << QByteArray("/no/existe.bmp\r\n") << "/no/existe.bmp";
        QTest::newRow("only CR LF") << QByteArray("\r\n") << QString();
        QTest::newRow("a device") << QByteArray("/dev/zero\r\n") << "/dev/zero";
    }

    // Whatever "Pic.txt" holds, the window starts on its plain background when it names no
    // picture, and the file stays as it was.
    void startWithoutPicture()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, text1);
        if (content != "<none>")
            QVERIFY(writeFile(pictxt(), content));
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        QCOMPARE(w.Text1->text(), text1);
        QVERIFY(!w.Image1->hasPicture());
        QCOMPARE(readFile(pictxt()), content == "<none>" ? QByteArray("<missing>") : content);
    }

    // A "Pic.txt" edited without its CR LF loses the path's last two characters, so the
    // picture is not found.
    void editedWithoutLineEnd()
    {
        QVERIFY(writeFile(pictxt(), m_picture.toUtf8()));
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        QCOMPARE(w.Text1->text(), m_picture.chopped(2));
        QVERIFY(!w.Image1->hasPicture());
    }

private:
    QString pictxt() const { return m_folder->filePath("Pic.txt"); }

    std::optional<QTemporaryDir> m_folder;
    QString m_picture;
};

QTEST_MAIN(Background)
#include "background.moc"

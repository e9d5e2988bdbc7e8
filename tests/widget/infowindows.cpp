#include "windowfakes.h"
#include "files/programfolder.h"
#include "info/frmAcerca.h"
#include "info/frmEaster.h"
#include "info/frmHelp.h"
#include "window.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QImage imageOf(const QLabel *label)
{
    return label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage imageOf(const QPushButton *button)
{
    return button->icon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class InfoWindows : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.path());
    }

    // The legend shows the main window's own button bitmaps, back to forward, then mute
    // below the line, each beside its line of text.
    void helpLegend()
    {
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        frmHelp help;
        QCOMPARE(help.windowTitle(), QStringLiteral("Ayuda"));
        QCOMPARE(help.size(), QSize(252, 307));
        QCOMPARE(help.palette().color(QPalette::Window), QColor(128, 128, 255));
        const char *buttons[] { "cmdBack", "cmdPlay", "cmdPause", "cmdStop", "cmdForward", "cmdMute" };
        QList<QLabel *> pictures;
        QList<QLabel *> labels;
        for (const char *name : { "Image1", "Image2", "Image3", "Image4", "Image5", "Image6" })
            pictures << control<QLabel>(help, name);
        for (const char *name : { "label1", "Label2", "Label3", "Label4", "Label5", "Label6" })
            labels << control<QLabel>(help, name);
        QStringList texts;
        for (int row = 0; row < 6; ++row) {
            QCOMPARE(imageOf(pictures[row]), imageOf(control<QPushButton>(w, buttons[row])));
            QCOMPARE(labels[row]->y(), pictures[row]->y() + 8);
            if (row > 0)
                QVERIFY(pictures[row]->y() > pictures[row - 1]->y());
            texts << labels[row]->text();
        }
        QCOMPARE(texts,
            (QStringList { "Retrocede una ubicación.", "Toca la canción seleccionada.",
                "Pausa la canción seleccionada.", "Detiene la canción especificada.", "Avanza una ubicación.",
                "Deja el volumen en cero." }));
        QVERIFY(control<QFrame>(help, "Line1")->y() > control<QLabel>(help, "Image5")->geometry().bottom());
        QVERIFY(control<QFrame>(help, "Line1")->geometry().bottom() < control<QLabel>(help, "Image6")->y());
        QCOMPARE(control<QPushButton>(help, "Command1")->text(), QStringLiteral("Aceptar"));
    }

    void opensOnceAndAfresh_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("again");
        QTest::newRow("help") << "HelpMe"
                              << "HelpMe";
        QTest::newRow("about, then from the icon") << "AboutOf"
                                                   << "AboutIcono";
    }

    // An information window opens without an owner and without a modal wait; opening it again
    // shows the same one, and after its "Aceptar" the next opening builds a new one.
    void opensOnceAndAfresh()
    {
        QFETCH(QString, item);
        QFETCH(QString, again);
        FakePlatform fakes;
        Player p(fakes.parts());
        frmMP3 w(p, windowParts(fakes));
        const auto opened = [&]() -> QWidget * {
            if (item == "HelpMe")
                return w.helpWindow();
            return w.aboutWindow();
        };
        trigger(w, qPrintable(item));
        QPointer<QWidget> first = opened();
        QVERIFY(first && first->isVisible());
        QVERIFY(!first->parentWidget() && !first->isModal());
        trigger(w, qPrintable(again));
        QCOMPARE(opened(), first.data());

        QPushButton *ok = item == "HelpMe" ? control<QPushButton>(*w.helpWindow(), "Command1")
                                           : control<QPushButton>(*w.aboutWindow(), "cmdOk");
        QTest::mouseClick(ok, Qt::LeftButton);
        QTRY_VERIFY(!first);
        QVERIFY(!opened());
        trigger(w, qPrintable(again));
        QVERIFY(opened() && opened()->isVisible());
        delete opened();
    }

    // The greeting has no frame, its picture at natural size runs past the right edge,
    // and it sits in the middle of the screen.
    void greetingCard()
    {
        frmEaster card;
        QVERIFY(card.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!card.parentWidget());
        QCOMPARE(card.windowTitle(), QStringLiteral("Te Amo Vebrolia"));
        QCOMPARE(card.size(), QSize(338, 256));
        QCOMPARE(control<QLabel>(card, "Label1")->text(),
            QStringLiteral("Vebrolia...   solamente quería decirte que te !AMO!"));
        QVERIFY(control<QLabel>(card, "Label1")->wordWrap());
        QCOMPARE(control<QLabel>(card, "Label2")->text(), QStringLiteral("Tu Príncipe"));
        QCOMPARE(control<QLabel>(card, "Image1")->size(), QSize(92, 89));
        QVERIFY(control<QLabel>(card, "Image1")->geometry().right() >= card.width());
        QCOMPARE(control<QPushButton>(card, "cmdExit")->text(), QStringLiteral("Cerrar"));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(qAbs(card.geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(card.geometry().center().y() - screen.center().y()) <= 1);
    }

private:
    QTemporaryDir m_folder;
};

QTEST_MAIN(InfoWindows)
#include "infowindows.moc"

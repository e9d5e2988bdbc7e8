#include "info/frmAcerca.h"
#include "info/frmThanx.h"
#include "info/linklabel.h"
#include "widgets/picturebox.h"
#include "window.h"
#include "windowfakes.h"

#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <memory>

namespace {
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

// A pointer move without a button, as the window system delivers it.
void moveOver(QWidget *widget, QPoint pos = QPoint(5, 5))
{
    QTest::mouseMove(widget, pos);
    QCoreApplication::processEvents();
}
} // namespace

class AboutWindows : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { delete frmAcerca::creditsWindow(); }

    // The about window names the product, shows the version line of this release and the
    // fixed date, with bold labels on their own background.
    void aboutWindowContent()
    {
        FakeLinks links;
        frmAcerca about(&links);
        QCOMPARE(about.windowTitle(), QStringLiteral("Velumo MP3 Player"));
        QCOMPARE(control<QLabel>(about, "Label3")->text(), QStringLiteral("        Version Freeware 2.3.1"));
        QCOMPARE(control<QLabel>(about, "Label5")->text(),
            QStringLiteral("                  25 de Julio del 2001"));
        QCOMPARE(control<LinkLabel>(about, "Label2")->toolTip(), QStringLiteral("HomePage"));
        QCOMPARE(control<ClickLabel>(about, "Label4")->toolTip(), QStringLiteral("E-Mail"));
        QCOMPARE(
            control<LinkLabel>(about, "Label2")->text(), QString(20, ' ') + "https://velumo.example.org/");
        QCOMPARE(control<ClickLabel>(about, "Label4")->text(), QString(21, ' ') + "velumo@example.org");
        QCOMPARE(control<QPushButton>(about, "cmdThanx")->text(), QStringLiteral("Agradecimientos"));
        QCOMPARE(control<QPushButton>(about, "cmdOk")->text(), QStringLiteral("Aceptar"));
        QCOMPARE(about.size(), QSize(411, 208));
        QCOMPARE(about.palette().color(QPalette::Window), QColor(128, 128, 255));
        QVERIFY(!about.parentWidget());
        QVERIFY(control<PictureBox>(about, "Image1")->hasPicture());
        QVERIFY(control<PictureBox>(about, "Image2")->hasPicture());
        QCOMPARE(control<PictureBox>(about, "Image2")->geometry(), QRect(8, 80, 64, 64));
        for (QLabel *label : { static_cast<QLabel *>(control<LinkLabel>(about, "Label2")),
                 static_cast<QLabel *>(control<ClickLabel>(about, "Label4")),
                 control<QLabel>(about, "Label3"), control<QLabel>(about, "Label5") }) {
            QVERIFY(label->font().bold());
            QVERIFY(label->autoFillBackground());
            QCOMPARE(label->palette().color(QPalette::Window),
                QApplication::palette(label).color(QPalette::Window));
        }
        QCOMPARE(control<QLabel>(about, "Label3")->font().pointSizeF(), 12.0);
        QCOMPARE(control<QLabel>(about, "Label5")->font().pointSizeF(), 8.25);
        QCOMPARE(textColour(control<LinkLabel>(about, "Label2")), kBlue);
    }

    // Both windows open centred on the screen.
    void centredOnScreen()
    {
        FakeLinks links;
        frmAcerca about(&links);
        frmThanx credits(&links);
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        for (QWidget *window : { static_cast<QWidget *>(&about), static_cast<QWidget *>(&credits) })
            QVERIFY((window->geometry().center() - centre).manhattanLength() <= 2);
    }

    // The web link turns red under the pointer, stays red over another label, and turns
    // blue again over the window's bare background.
    void linkColours()
    {
        FakeLinks links;
        frmAcerca about(&links);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        moveOver(control<LinkLabel>(about, "Label2"), QPoint(200, 8));
        QCOMPARE(textColour(control<LinkLabel>(about, "Label2")), kRed);
        moveOver(control<QLabel>(about, "Label3"));
        QCOMPARE(textColour(control<LinkLabel>(about, "Label2")), kRed);
        moveOver(control<ClickLabel>(about, "Label4"), QPoint(200, 8));
        QCOMPARE(textColour(control<LinkLabel>(about, "Label2")), kRed);
        moveOver(&about, QPoint(390, 10));
        QCOMPARE(textColour(control<LinkLabel>(about, "Label2")), kBlue);
    }

    // A click on the web link opens the page as a web address and leaves the link red, even
    // after the pointer left; the mail label opens a mailto: address and keeps its colour.
    void linksOpen()
    {
        FakeLinks links;
        frmAcerca about(&links);
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        const QColor mailColour = textColour(control<ClickLabel>(about, "Label4"));
        QTest::mouseClick(control<LinkLabel>(about, "Label2"), Qt::LeftButton, {}, QPoint(200, 8));
        QCOMPARE(textColour(control<LinkLabel>(about, "Label2")), kRed);
        QTest::mouseClick(control<ClickLabel>(about, "Label4"), Qt::LeftButton, {}, QPoint(200, 8));
        QCOMPARE(textColour(control<ClickLabel>(about, "Label4")), mailColour);
        QCOMPARE(links.opened,
            (QList<QUrl> { QUrl("https://velumo.example.org/"), QUrl("mailto:velumo@example.org") }));
        // A press that ends outside the label is no click.
        QTest::mousePress(control<LinkLabel>(about, "Label2"), Qt::LeftButton, {}, QPoint(200, 8));
        QTest::mouseRelease(control<LinkLabel>(about, "Label2"), Qt::LeftButton, {}, QPoint(200, 40));
        QCOMPARE(links.opened.size(), 2);
    }

    // "Agradecimientos" opens one credits window, which outlives the about window and is
    // found again by the next about window.
    void creditsWindowOpens()
    {
        FakeLinks links;
        auto *about = new frmAcerca(&links);
        about->show();
        QTest::mouseClick(control<QPushButton>(*about, "cmdThanx"), Qt::LeftButton);
        QPointer<frmThanx> credits = frmAcerca::creditsWindow();
        QVERIFY(credits);
        QVERIFY(credits->isVisible());
        QVERIFY(!credits->parentWidget());
        QTest::mouseClick(control<QPushButton>(*about, "cmdThanx"), Qt::LeftButton);
        QCOMPARE(frmAcerca::creditsWindow(), credits.data());
        QPointer<frmAcerca> closed = about;
        QTest::mouseClick(control<QPushButton>(*about, "cmdOk"), Qt::LeftButton);
        QTRY_VERIFY(!closed);
        QVERIFY(credits && credits->isVisible());
        frmAcerca again(&links);
        QTest::mouseClick(control<QPushButton>(again, "cmdThanx"), Qt::LeftButton);
        QCOMPARE(frmAcerca::creditsWindow(), credits.data());
    }

    // The credits window credits the team, with its own links and colours; "Aceptar" ends it.
    void creditsWindowContent()
    {
        FakeLinks links;
        QPointer<frmThanx> credits = new frmThanx(&links);
        credits->show();
        QVERIFY(QTest::qWaitForWindowExposed(credits));
        QCOMPARE(credits->windowTitle(), QStringLiteral("Agradecimientos"));
        QCOMPARE(control<QLabel>(*credits, "Label1")->text(), QStringLiteral("Equipo Velumo "));
        QCOMPARE(credits->size(), QSize(356, 131));
        QCOMPARE(credits->palette().color(QPalette::Window), QColor(138, 195, 239));
        QVERIFY(!credits->windowIcon().isNull());
        QCOMPARE(textColour(control<LinkLabel>(*credits, "Label2")), kBlue);
        moveOver(control<LinkLabel>(*credits, "Label2"), QPoint(160, 8));
        QCOMPARE(textColour(control<LinkLabel>(*credits, "Label2")), kRed);
        moveOver(credits, QPoint(10, 120));
        QCOMPARE(textColour(control<LinkLabel>(*credits, "Label2")), kBlue);
        QTest::mouseClick(control<LinkLabel>(*credits, "Label2"), Qt::LeftButton, {}, QPoint(160, 8));
        QTest::mouseClick(control<ClickLabel>(*credits, "Label4"), Qt::LeftButton, {}, QPoint(160, 8));
        QCOMPARE(textColour(control<LinkLabel>(*credits, "Label2")), kRed);
        QCOMPARE(links.opened,
            (QList<QUrl> {
                QUrl("https://velumo.example.org/equipo"), QUrl("mailto:equipo@velumo.example.org") }));
        QTest::mouseClick(control<QPushButton>(*credits, "cmdOk"), Qt::LeftButton);
        QTRY_VERIFY(!credits);
    }
};

QTEST_MAIN(AboutWindows)
#include "aboutwindows.moc"

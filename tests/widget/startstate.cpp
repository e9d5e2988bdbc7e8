#include "extras/frmLyrics.h"
#include "widgets/picturebox.h"
#include "widgets/widgetstyle.h"
#include "window.h"

#include <QAccessible>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSlider>
#include <QtTest>

namespace {
const QStringList kPictureButtons { "cmdBack", "cmdPlay", "cmdPause", "cmdStop", "cmdForward", "cmdMute" };

// What a screen reader says for the widget.
QString spokenName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QStringLiteral("<no interface>");
}
} // namespace

class StartState : public QObject {
    Q_OBJECT
private slots:
    // The window opens with the time row at zero in green on black, no song named, the
    // shuffle button grey, no picture and the slider at full volume.
    void freshWindow()
    {
        WindowRig r;
        frmMP3 &w = r.w;
        QCOMPARE(w.windowTitle(), QStringLiteral("Velumo MP3 Player"));
        QStringList texts;
        for (const char *name : { "LblSongTimer1", "Label1", "LblSongTimer2", "lblMM", "Label2", "lblSS" }) {
            auto *label = control<QLabel>(w, name);
            texts << label->text();
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 255, 0));
            QCOMPARE(label->palette().color(QPalette::Window), QColor(0, 0, 0));
            QVERIFY(label->font().bold());
            QVERIFY(label->autoFillBackground());
        }
        QCOMPARE(texts, (QStringList { "0", ":", "0", "0", ":", "0" }));
        QCOMPARE(labelText(w, "LblSongName"), QString());
        QVERIFY(!control<QLabel>(w, "LblSongName")->font().bold());
        QCOMPARE(faceColour(control(w, "cmdShuffle")), QColor(192, 192, 192));
        QVERIFY(!control<PictureBox>(w, "Image1")->hasPicture());
        QCOMPARE(control<QSlider>(w, "Slider")->value(), 10);
    }

    // The client area below the menu bar is 398 x 302 and the controls a user clicks sit
    // where the layout puts them.
    void geometry()
    {
        WindowRig r;
        frmMP3 &w = r.w;
        QCOMPARE(w.centralWidget()->size(), QSize(398, 302));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(control(w, "cmdPlay")->geometry(), QRect(136, 24, 33, 33));
        QCOMPARE(control(w, "PlayList")->geometry(), QRect(8, 64, 345, 134));
        QCOMPARE(control(w, "Slider")->geometry(), QRect(360, 64, 33, 105));
        QCOMPARE(control(w, "cdmAdd")->geometry(), QRect(16, 272, 65, 25));
        QCOMPARE(control(w, "cmdLoad")->geometry(), QRect(320, 272, 65, 25));
        QCOMPARE(control(w, "cmdShuffle")->geometry(), QRect(304, 32, 57, 17));
        QCOMPARE(control(w, "Image1")->geometry(), QRect(0, 16, 401, 305));
        QCOMPARE(control<QSlider>(w, "Slider")->minimum(), 0);
        QCOMPARE(control<QSlider>(w, "Slider")->maximum(), 10);
    }

    // Each button keeps its own tooltip, even where its menu item reads otherwise; the
    // picture buttons show a picture and no caption.
    void tooltips()
    {
        WindowRig r;
        frmMP3 &w = r.w;
        QCOMPARE(control(w, "cmdStop")->toolTip(), QStringLiteral("Parar"));
        QCOMPARE(control<QAction>(w, "Stop")->text(), QStringLiteral("Detener"));
        QCOMPARE(control(w, "cmdDelAll")->toolTip(), QStringLiteral("Borrar"));
        QCOMPARE(control(w, "cmdDelete")->toolTip(), QStringLiteral("Borrar"));
        QCOMPARE(control(w, "Slider")->toolTip(), QStringLiteral("Volumen"));
        QCOMPARE(control(w, "cmdMute")->toolTip(), QStringLiteral("Sin Sonido"));
        QCOMPARE(control(w, "cmdShuffle")->toolTip(), QString());
        for (const QString &name : kPictureButtons) {
            auto *button = control<QPushButton>(w, qPrintable(name));
            QVERIFY(button->text().isEmpty());
            // High-DPI screens get pictures drawn at twice the size, not the small ones blown up.
            QCOMPARE(button->icon().pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
        }
    }

    // A screen reader hears what people see: each label as its text, taken literally even
    // when a file name looks like markup; the list, the slider and the lyrics by what they
    // are in Spanish; a picture button by its tooltip.
    void spokenNamesAndPlainText()
    {
        WindowRig r;
        frmMP3 &w = r.w;
        w.player().state().setShownSongName(QStringLiteral("<b>x</b>.mp3"));
        const QList<QLabel *> labels = w.findChildren<QLabel *>();
        QVERIFY(labels.size() >= 7);
        for (QLabel *label : labels) {
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QCOMPARE(spokenName(label), label->text());
        }
        QCOMPARE(spokenName(control(w, "LblSongName")), QStringLiteral("<b>x</b>.mp3"));
        QCOMPARE(spokenName(playlistView(w)), QStringLiteral("Lista de reproducción"));
        QCOMPARE(spokenName(control(w, "Slider")), QStringLiteral("Volumen"));
        for (const QString &name : kPictureButtons) {
            QWidget *button = control(w, qPrintable(name));
            QCOMPARE(spokenName(button), button->toolTip());
        }
        QCOMPARE(spokenName(w.lyricsWindow()->findChild<QPlainTextEdit *>()), QStringLiteral("Letras"));
    }

    // The bar shows four menus in order with their items; the tray menu is never in it.
    void menuTree()
    {
        WindowRig r;
        frmMP3 &w = r.w;
        QStringList bar;
        for (QAction *a : w.menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, (QStringList { "&Archivo", "Opciones", "Letras", "Ayuda" }));
        QCOMPARE(captions(w, "File"),
            (QStringList { "Agregar", "Borrar", "Guardar", "Abrir", "Acciones", "Salir" }));
        QCOMPARE(
            captions(w, "Actions"), (QStringList { "Retroceder", "Empezar", "Pausa", "Detener", "Avanzar" }));
        QCOMPARE(captions(w, "Options"),
            (QStringList { "Sin Sonido", "Imagen de Fondo", "Ocultar Todo", "Mostrar Todo" }));
        QCOMPARE(captions(w, "Lyrics"), (QStringList { "Ver Letras", "Ocultar Letras" }));
        QCOMPARE(captions(w, "Help"), (QStringList { "Ayuda", "Acerca de" }));
        QCOMPARE(
            captions(w, "MnuIcono"), (QStringList { "Acerca", "Abrir Velumo MP3 Player", "-", "Salir" }));
        QCOMPARE(control<QMenu>(w, "MnuIcono")->defaultAction(), control<QAction>(w, "AboutIcono"));
        QVERIFY(control<QAction>(w, "AboutIcono")->font().bold());
    }

private:
    static QStringList captions(const frmMP3 &w, const char *menu)
    {
        QStringList out;
        for (QAction *a : control<QMenu>(w, menu)->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
};

QTEST_MAIN(StartState)
#include "startstate.moc"

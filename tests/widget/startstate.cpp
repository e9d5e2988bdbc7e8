#include "app/picturebox.h"
#include "app/programfolder.h"
#include "app/tag.h"
#include "app/widgetstyle.h"
#include "fakes.h"
#include "playlist/playlistbox.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

class StartState : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        setProgramFolder(m_folder.path());
    }

    // The window opens with the label row at zero, empty lists, tags at rest and no clock.
    void freshWindow()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        QCOMPARE(w.windowTitle(), QStringLiteral("Velumo MP3 Player"));
        const QList<QLabel *> row { w.LblSongTimer1, w.Label1, w.LblSongTimer2, w.lblMM, w.Label2, w.lblSS };
        QStringList texts;
        for (QLabel *label : row) {
            texts << label->text();
            QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 255, 0));
            QVERIFY(label->font().bold());
            QVERIFY(label->autoFillBackground());
        }
        QCOMPARE(texts, (QStringList { "0", ":", "0", "0", ":", "0" }));
        QCOMPARE(w.LblSongName->text(), QString());
        QVERIFY(!w.LblSongName->font().bold());
        QCOMPARE(w.PlayList->count(), 0);
        QCOMPARE(w.NameList->count(), 0);
        QVERIFY(!w.Timer->isActive());
        QCOMPARE(w.Timer->interval(), 1000);
        QCOMPARE(Tag(w.cmdPause), QStringLiteral("0"));
        QCOMPARE(Tag(w.cmdShuffle), QStringLiteral("0"));
        QCOMPARE(Tag(w.IconoBarra), QStringLiteral("1"));
        QCOMPARE(faceColour(w.cmdShuffle), QColor(192, 192, 192));
        QVERIFY(!w.Image1->hasPicture());
        QCOMPARE(w.SongIndex, qint16(0));
        QVERIFY(w.SongPath.isEmpty() && w.SongName.isEmpty() && w.LyricsName.isEmpty());
    }

    // The client area below the menu bar is 398 x 302 and the controls a user clicks sit
    // where the layout puts them.
    void geometry()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        QCOMPARE(w.centralWidget()->size(), QSize(398, 302));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.cmdPlay->geometry(), QRect(136, 24, 33, 33));
        QCOMPARE(w.PlayList->geometry(), QRect(8, 64, 345, 134));
        QCOMPARE(w.Slider->geometry(), QRect(360, 64, 33, 105));
        QCOMPARE(w.cdmAdd->geometry(), QRect(16, 272, 65, 25));
        QCOMPARE(w.cmdLoad->geometry(), QRect(320, 272, 65, 25));
        QCOMPARE(w.cmdShuffle->geometry(), QRect(304, 32, 57, 17));
        QCOMPARE(w.Image1->geometry(), QRect(0, 16, 401, 305));
        QCOMPARE(w.Slider->minimum(), 0);
        QCOMPARE(w.Slider->maximum(), 10);
        QVERIFY(w.NameList->isHidden() && w.Text1->isHidden() && w.lista->isHidden());
    }

    // Each button keeps its own tooltip, even where its menu item reads otherwise.
    void tooltips()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        QCOMPARE(w.cmdStop->toolTip(), QStringLiteral("Parar"));
        QCOMPARE(w.Stop->text(), QStringLiteral("Detener"));
        QCOMPARE(w.cmdDelAll->toolTip(), QStringLiteral("Borrar"));
        QCOMPARE(w.cmdDelete->toolTip(), QStringLiteral("Borrar"));
        QCOMPARE(w.Slider->toolTip(), QStringLiteral("Volumen"));
        QCOMPARE(w.cmdMute->toolTip(), QStringLiteral("Sin Sonido"));
        QCOMPARE(w.cmdShuffle->toolTip(), QString());
        for (QPushButton *b : { w.cmdBack, w.cmdPlay, w.cmdPause, w.cmdStop, w.cmdForward, w.cmdMute }) {
            QVERIFY(b->text().isEmpty());
            QVERIFY(!b->icon().isNull());
            // High-DPI screens get pictures drawn at twice the size, not the small ones blown up.
            QCOMPARE(b->icon().pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
            QCOMPARE(b->accessibleName(), b->toolTip());
        }
    }

    // The bar shows four menus in order with their items; the tray menu is never in it.
    void menuTree()
    {
        FakePlatform fakes;
        frmMP3 w(fakes.platform());
        QStringList bar;
        for (QAction *a : w.menuBar()->actions())
            bar << a->text();
        QCOMPARE(bar, (QStringList { "&Archivo", "Opciones", "Letras", "Ayuda" }));
        QCOMPARE(
            captions(w.File), (QStringList { "Agregar", "Borrar", "Guardar", "Abrir", "Acciones", "Salir" }));
        QCOMPARE(
            captions(w.Actions), (QStringList { "Retroceder", "Empezar", "Pausa", "Detener", "Avanzar" }));
        QCOMPARE(captions(w.Options),
            (QStringList { "Sin Sonido", "Imagen de Fondo", "Ocultar Todo", "Mostrar Todo" }));
        QCOMPARE(captions(w.Lyrics), (QStringList { "Ver Letras", "Ocultar Letras" }));
        QCOMPARE(captions(w.Help), (QStringList { "Ayuda", "Acerca de" }));
        QCOMPARE(captions(w.MnuIcono), (QStringList { "Acerca", "Abrir Velumo MP3 Player", "-", "Salir" }));
        QCOMPARE(w.MnuIcono->defaultAction(), w.AboutIcono);
        QVERIFY(w.AboutIcono->font().bold());
    }

private:
    static QStringList captions(QMenu *menu)
    {
        QStringList out;
        for (QAction *a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }

    QTemporaryDir m_folder;
};

QTEST_MAIN(StartState)
#include "startstate.moc"

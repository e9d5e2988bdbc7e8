#include "info/frmHelp.h"

#include "info/centring.h"
#include "widgets/twips.h"
#include "widgets/widgetstyle.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace {

const QColor background(128, 128, 255);

QFont legendFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

} // namespace

frmHelp::frmHelp(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Ayuda"));
    setWindowIcon(pictureIcon(QStringLiteral(":/resources/velumo")));
    setFixedSize(twipsSize(3780, 4605));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, background);
    setPalette(palette);

    Image1 = addPicture("Image1", 120, QStringLiteral(":/resources/back.png"));
    label1 = addLegend("label1", 240, 2295, QStringLiteral("Retrocede una ubicación."));
    Image2 = addPicture("Image2", 720, QStringLiteral(":/resources/play.png"));
    Label2 = addLegend("Label2", 840, 2655, QStringLiteral("Toca la canción seleccionada."));
    Image3 = addPicture("Image3", 1320, QStringLiteral(":/resources/pause.png"));
    Label3 = addLegend("Label3", 1440, 2775, QStringLiteral("Pausa la canción seleccionada."));
    Image4 = addPicture("Image4", 1920, QStringLiteral(":/resources/stop.png"));
    Label4 = addLegend("Label4", 2040, 2895, QStringLiteral("Detiene la canción especificada."));
    Image5 = addPicture("Image5", 2520, QStringLiteral(":/resources/forward.png"));
    Label5 = addLegend("Label5", 2640, 2295, QStringLiteral("Avanza una ubicación."));
    Image6 = addPicture("Image6", 3240, QStringLiteral(":/resources/mute.png"));
    Label6 = addLegend("Label6", 3360, 2295, QStringLiteral("Deja el volumen en cero."));

    // The line sets mute apart from the five buttons that move through the playlist.
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setGeometry(twipsRect(0, 3120, 3840, 30));
    Line1->setAutoFillBackground(true);
    QPalette black = Line1->palette();
    black.setColor(QPalette::Window, Qt::black);
    Line1->setPalette(black);

    Command1 = new QPushButton(QStringLiteral("Aceptar"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setFont(legendFont());
    Command1->setGeometry(twipsRect(1200, 4080, 1215, 495));
    connect(Command1, &QPushButton::clicked, this, &frmHelp::Command1_Click);

    centreOnScreen(this);
}

void frmHelp::Command1_Click()
{
    close();
}

// The bitmaps are the main window's own button pictures, at their natural 32 x 32.
QLabel *frmHelp::addPicture(const char *name, int top, const QString &bitmap)
{
    auto *label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(QPixmap(bitmap));
    label->setGeometry(twipsRect(120, top, 480, 480));
    return label;
}

QLabel *frmHelp::addLegend(const char *name, int top, int width, const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(legendFont());
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twipsRect(720, top, width, 255));
    return label;
}

#include "info/frmEaster.h"

#include "info/centring.h"
#include "widgets/twips.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

frmEaster::frmEaster(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmEaster"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Te Amo Vebrolia"));
    setFixedSize(twipsSize(5070, 3840));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(138, 195, 239));
    setPalette(palette);

    Label1 = addLabel("Label1", QStringLiteral("Vebrolia...   solamente quería decirte que te !AMO!"),
        twipsRect(0, 120, 5055, 2295), 24);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);

    Label3 = addLabel("Label3", QStringLiteral("V.T."), twipsRect(960, 2400, 2055, 855), 27.75);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette red = Label3->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label3->setPalette(red);

    Label2 = addLabel("Label2", QStringLiteral("Tu Príncipe"), twipsRect(1800, 3360, 2055, 495), 15.75);
    Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    // The picture keeps its natural size and runs past the right edge, which cuts it off.
    const QPixmap picture(QStringLiteral(":/resources/greeting.png"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(picture);
    Image1->setGeometry(QRect(QPoint(twipsToPixels(3840), twipsToPixels(2520)), picture.size()));

    cmdExit = new QPushButton(QStringLiteral("Cerrar"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setGeometry(twipsRect(0, 3480, 1215, 375));
    connect(cmdExit, &QPushButton::clicked, this, &frmEaster::cmdExit_Click);

    centreOnScreen(this);
}

void frmEaster::cmdExit_Click()
{
    close();
}

QLabel *frmEaster::addLabel(const char *name, const QString &text, const QRect &where, qreal points)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("Comic Sans MS"));
    font.setPointSizeF(points);
    font.setBold(true);
    label->setFont(font);
    label->setGeometry(where);
    return label;
}

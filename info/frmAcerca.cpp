#include "info/frmAcerca.h"

#include "info/frmThanx.h"
#include "info/infowindow.h"
#include "info/linklabel.h"
#include "info/shelllinks.h"
#include "widgets/picturebox.h"
#include "widgets/twips.h"

#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

namespace {
const QString kWebPage = QStringLiteral("https://velumo.example.org/");
const QString kMail = QStringLiteral("velumo@example.org");

// The program holds one credits window at a time, shared by every about window.
QPointer<frmThanx> &credits()
{
    static QPointer<frmThanx> window;
    return window;
}

PictureBox *addPicture(QWidget *parent, const QString &resource, const QRect &geometry)
{
    auto *picture = new PictureBox(parent);
    picture->setGeometry(geometry);
    picture->setPicture(QImage(resource));
    return picture;
}
} // namespace

QString versionLine()
{
    // The revision is the fourth number of the version record.
    return QStringLiteral("        Version Freeware %1.%2.%3")
        .arg(VELUMO_VERSION_MAJOR)
        .arg(VELUMO_VERSION_MINOR)
        .arg(VELUMO_VERSION_TWEAK);
}

frmAcerca::frmAcerca(ShellLinks *links, QWidget *parent)
    : QWidget(parent)
    , m_links(links)
{
    setObjectName(QStringLiteral("frmAcerca"));
    setWindowTitle(QStringLiteral("Velumo MP3 Player"));
    // A blank icon, so that the window does not take the program's.
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    setWindowIcon(QIcon(blank));
    setupInfoWindow(this, twipsSize(6165, 3120), QColor(128, 128, 255));
    buildControls();
    Form_Load();
}

void frmAcerca::buildControls()
{
    Image1 = addPicture(this, QStringLiteral(":/resources/about.png"), twipsRect(120, 120, 960, 960));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image2 = addPicture(this, QStringLiteral(":/resources/banner.gif"), twipsRect(120, 1200, 960, 960));
    Image2->setObjectName(QStringLiteral("Image2"));

    Label2 = new LinkLabel(QString(20, QLatin1Char(' ')) + kWebPage, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    styleInfoLabel(Label2, 8.25, twipsRect(1200, 1320, 4815, 255));
    Label2->setToolTip(QStringLiteral("HomePage"));
    Label4 = new ClickLabel(QString(21, QLatin1Char(' ')) + kMail, this);
    Label4->setObjectName(QStringLiteral("Label4"));
    styleInfoLabel(Label4, 8.25, twipsRect(1200, 1680, 4815, 255));
    Label4->setToolTip(QStringLiteral("E-Mail"));
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    styleInfoLabel(Label3, 12, twipsRect(120, 2280, 3975, 375));
    Label5 = new QLabel(QStringLiteral("                  25 de Julio del 2001"), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    styleInfoLabel(Label5, 8.25, twipsRect(120, 2760, 3975, 255));

    cmdThanx = new QPushButton(QStringLiteral("Agradecimientos"), this);
    cmdThanx->setObjectName(QStringLiteral("cmdThanx"));
    cmdThanx->setGeometry(twipsRect(4680, 2160, 1335, 375));
    cmdOk = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setGeometry(twipsRect(4680, 2640, 1335, 375));

    connect(Label2, &ClickLabel::clicked, this, &frmAcerca::Label2_Click);
    connect(Label4, &ClickLabel::clicked, this, &frmAcerca::Label4_Click);
    connect(cmdThanx, &QPushButton::clicked, this, &frmAcerca::cmdThanx_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmAcerca::cmdOk_Click);
}

void frmAcerca::Form_Load()
{
    Label3->setText(versionLine());
}

void frmAcerca::mouseMoveEvent(QMouseEvent *)
{
    Label2->rest();
}

void frmAcerca::Label2_Click()
{
    // Whether the page opened is not examined: the link turns red either way.
    m_links->open(QUrl(kWebPage));
}

void frmAcerca::Label4_Click()
{
    m_links->open(QUrl(QStringLiteral("mailto:") + kMail));
}

void frmAcerca::cmdThanx_Click()
{
    if (!credits())
        credits() = new frmThanx(m_links);
    credits()->show();
    credits()->raise();
    credits()->activateWindow();
}

void frmAcerca::cmdOk_Click()
{
    close();
}

frmThanx *frmAcerca::creditsWindow()
{
    return credits();
}

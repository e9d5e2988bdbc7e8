#include "info/frmThanx.h"

#include "info/infowindow.h"
#include "info/linklabel.h"
#include "info/shelllinks.h"
#include "widgets/twips.h"
#include "widgets/widgetstyle.h"

#include <QIcon>
#include <QPushButton>
#include <QUrl>

namespace {
const QString kTeam = QStringLiteral("Equipo Velumo ");
const QString kWebPage = QStringLiteral("https://velumo.example.org/equipo");
const QString kMail = QStringLiteral("equipo@velumo.example.org");
} // namespace

frmThanx::frmThanx(ShellLinks *links, QWidget *parent)
    : QWidget(parent)
    , m_links(links)
{
    setObjectName(QStringLiteral("frmThanx"));
    setWindowTitle(QStringLiteral("Agradecimientos"));
    setWindowIcon(pictureIcon(QStringLiteral(":/resources/thanx")));
    setupInfoWindow(this, twipsSize(5340, 1965), QColor(138, 195, 239));
    buildControls();
}

void frmThanx::buildControls()
{
    Label1 = new QLabel(kTeam, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    styleInfoLabel(Label1, 12, twipsRect(240, 120, 4815, 375));
    Label2 = new LinkLabel(kWebPage, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    styleInfoLabel(Label2, 8.25, twipsRect(240, 600, 4815, 255));
    Label4 = new ClickLabel(kMail, this);
    Label4->setObjectName(QStringLiteral("Label4"));
    styleInfoLabel(Label4, 8.25, twipsRect(240, 960, 4815, 255));
    for (QLabel *label : { Label1, static_cast<QLabel *>(Label2), static_cast<QLabel *>(Label4) })
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    cmdOk = new QPushButton(QStringLiteral("Aceptar"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setGeometry(twipsRect(3720, 1440, 1335, 375));

    connect(Label2, &ClickLabel::clicked, this, &frmThanx::Label2_Click);
    connect(Label4, &ClickLabel::clicked, this, &frmThanx::Label4_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmThanx::cmdOk_Click);
}

void frmThanx::mouseMoveEvent(QMouseEvent *)
{
    Label2->rest();
}

void frmThanx::Label2_Click()
{
    m_links->open(QUrl(kWebPage));
}

void frmThanx::Label4_Click()
{
    m_links->open(QUrl(QStringLiteral("mailto:") + kMail));
}

void frmThanx::cmdOk_Click()
{
    close();
}

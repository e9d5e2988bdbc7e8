#include "app/frmSplash.h"

#include "widgets/twips.h"

#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

frmSplash::frmSplash(std::function<void()> showMain, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , m_showMain(std::move(showMain))
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsSize(6330, 1815));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(138, 195, 239));
    setPalette(palette);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(0, 240, 1215, 1335));
    Image1->setScaledContents(true);
    Image1->setPixmap(QPixmap(QStringLiteral(":/resources/velumo.png")));

    if (const QScreen *screen = this->screen()) {
        QRect centred(QPoint(), size());
        centred.moveCenter(screen->availableGeometry().center());
        move(centred.topLeft());
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
    Timer1->start();
}

void frmSplash::Timer1_Timer()
{
    // Unloading the splash also ends its timer, so this runs once.
    Timer1->stop();
    close();
    if (m_showMain)
        m_showMain();
}

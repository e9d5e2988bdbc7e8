#include "extras/frmLyrics.h"

frmLyrics::frmLyrics(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmLyrics"));
    setAttribute(Qt::WA_DeleteOnClose);
}

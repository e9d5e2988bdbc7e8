#include "info/frmAcerca.h"

frmAcerca::frmAcerca(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmAcerca"));
    setAttribute(Qt::WA_DeleteOnClose);
}

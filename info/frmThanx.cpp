#include "info/frmThanx.h"

frmThanx::frmThanx(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmThanx"));
    setAttribute(Qt::WA_DeleteOnClose);
}

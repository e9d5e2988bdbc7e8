#include "info/frmEaster.h"

frmEaster::frmEaster(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmEaster"));
    setAttribute(Qt::WA_DeleteOnClose);
}

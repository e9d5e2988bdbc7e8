#include "info/frmHelp.h"

frmHelp::frmHelp(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
}

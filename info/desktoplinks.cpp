#include "info/desktoplinks.h"

#include <QDesktopServices>

void DesktopLinks::open(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

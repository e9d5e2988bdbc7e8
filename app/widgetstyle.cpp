#include "app/widgetstyle.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QWidget>

void setFaceColour(QWidget *button, const QColor &colour)
{
    button->setProperty("BackColor", colour);
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black; "
                                         "border: 2px outset %1; }")
                              .arg(colour.name()));
}

QColor faceColour(const QWidget *button)
{
    return button->property("BackColor").value<QColor>();
}

namespace {

QPixmap readAs(const QString &file, const char *format)
{
    QImageReader reader(file, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QIcon PlayerStyle::standardIcon(StandardPixmap which, const QStyleOption *option, const QWidget *widget) const
{
    if (which != SP_ToolBarHorizontalExtensionButton)
        return QProxyStyle::standardIcon(which, option, widget);
    const bool rtl = (widget ? widget->layoutDirection() : QGuiApplication::layoutDirection()) == Qt::RightToLeft;
    QIcon arrow;
    for (int size : { 8, 16, 32 })
        arrow.addPixmap(readAs(QStringLiteral(":/qt-project.org/styles/commonstyle/images/toolbar-ext-h-%1%2.png")
                                   .arg(rtl ? QStringLiteral("rtl-") : QString())
                                   .arg(size),
            "png"));
    return arrow;
}

QPixmap picture(const QString &xpmFile)
{
    return readAs(xpmFile, "xpm");
}

QIcon pictureIcon(const QString &resource)
{
    QIcon icon(picture(resource + QStringLiteral(".xpm")));
    QPixmap large = picture(resource + QStringLiteral("@2x.xpm"));
    large.setDevicePixelRatio(2);
    icon.addPixmap(large);
    return icon;
}

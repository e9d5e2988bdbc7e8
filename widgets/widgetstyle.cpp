#include "widgets/widgetstyle.h"

#include <QImageReader>
#include <QPixmap>
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

// The player's pictures are PNGs, which Qt reads without a plug-in. Named as such, the file
// is read at once; left to guess, Qt would load every image plug-in it has, and the
// libraries they link, to ask each one whether it knows the file, and keep them all loaded.
QPixmap pngPicture(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QIcon pictureIcon(const QString &resource)
{
    QIcon icon;
    icon.addPixmap(pngPicture(resource + QStringLiteral(".png")));
    icon.addPixmap(pngPicture(resource + QStringLiteral("@2x.png")));
    return icon;
}

QIcon PlayerStyle::standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton)
        return pictureIcon(QStringLiteral(":/resources/more"));
    return QProxyStyle::standardIcon(icon, option, widget);
}

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
    const QString picture = pictureFor(icon);
    if (!picture.isEmpty())
        return pictureIcon(picture);
    return QProxyStyle::standardIcon(icon, option, widget);
}

QString PlayerStyle::pictureFor(StandardPixmap icon)
{
    switch (icon) {
    case SP_ToolBarHorizontalExtensionButton:
    case SP_ToolBarVerticalExtensionButton:
        return QStringLiteral(":/resources/more");
    case SP_ArrowBack:
        return QStringLiteral(":/resources/arrowback");
    case SP_ArrowForward:
        return QStringLiteral(":/resources/arrowforward");
    case SP_FileDialogToParent:
        return QStringLiteral(":/resources/parentfolder");
    case SP_FileDialogNewFolder:
        return QStringLiteral(":/resources/newfolder");
    case SP_FileDialogListView:
        return QStringLiteral(":/resources/listview");
    case SP_FileDialogDetailedView:
        return QStringLiteral(":/resources/detailview");
    case SP_DialogOpenButton:
        return QStringLiteral(":/resources/dialogopen");
    case SP_DialogSaveButton:
        return QStringLiteral(":/resources/dialogsave");
    case SP_DialogOkButton:
    case SP_DialogYesButton:
        return QStringLiteral(":/resources/dialogok");
    case SP_DialogCancelButton:
    case SP_DialogNoButton:
        return QStringLiteral(":/resources/dialogcancel");
    case SP_DirIcon:
    case SP_DirOpenIcon:
    case SP_DirClosedIcon:
    case SP_DirHomeIcon:
    case SP_DirLinkIcon:
    case SP_DirLinkOpenIcon:
    case SP_DesktopIcon:
        return QStringLiteral(":/resources/folder");
    case SP_FileIcon:
    case SP_FileLinkIcon:
        return QStringLiteral(":/resources/file");
    case SP_ComputerIcon:
    case SP_DriveHDIcon:
    case SP_DriveFDIcon:
    case SP_DriveCDIcon:
    case SP_DriveDVDIcon:
    case SP_DriveNetIcon:
    case SP_TrashIcon:
        return QStringLiteral(":/resources/drive");
    default:
        return QString();
    }
}

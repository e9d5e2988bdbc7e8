#pragma once

#include <QColor>
#include <QIcon>
#include <QProxyStyle>

class QWidget;

// The face colour of a coloured button, kept so that it can be read back.
void setFaceColour(QWidget *button, const QColor &colour);
QColor faceColour(const QWidget *button);

// One of the player's pictures as an icon, with its twice-as-large drawing for high-DPI
// screens: ":/resources/play" gives play.png and play@2x.png.
QIcon pictureIcon(const QString &resource);

// The platform's own style, but for the icons of the menu bar's button for menus that do not
// fit and of the file dialog (its buttons, folders, files and drives), which are the player's
// own pictures: the style's own are resources that Qt reads by asking every image plug-in it
// has, and the plug-ins with their libraries would stay loaded for as long as the player runs.
class PlayerStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
        const QWidget *widget = nullptr) const override;

    // The player's picture (as pictureIcon takes it) drawn for icon; empty for the style's own.
    static QString pictureFor(StandardPixmap icon);
};

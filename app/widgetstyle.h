#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QProxyStyle>

class QWidget;

// The face colour of a coloured button, kept so that it can be read back.
void setFaceColour(QWidget *button, const QColor &colour);
QColor faceColour(const QWidget *button);

// One of the player's pictures as an icon, with its twice-as-large drawing for high-DPI
// screens: ":/resources/play" gives play.xpm and play@2x.xpm.
QIcon pictureIcon(const QString &resource);

// The platform's style, except that the menu bar's overflow arrow is read as the PNG it is.
// The menu bar makes that arrow when it is built, even though the player's menus always fit,
// and the style's way of reading it loads every image plugin with its libraries.
class PlayerStyle : public QProxyStyle {
public:
    // Over the style of the given name, so that a style the user asked for is kept.
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption *option = nullptr,
        const QWidget *widget = nullptr) const override;
};

// One of the player's own XPM pictures, read as XPM without asking the image plugins: Qt
// guesses a format by loading every image plugin it has, with their libraries.
QPixmap picture(const QString &xpmFile);

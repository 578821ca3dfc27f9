#pragma once

#include <QIcon>
#include <QPixmap>

#include "resources/ToolbarArt.h"

// Every picture of the program, drawn by our own code at first use and cached.
class Pictures
{
public:
    // 24 x 24, transparent background.
    static constexpr int ToolbarCount = int(ToolbarPicture::Screenshot) + 1;
    static constexpr int UserTagCount = 30; // 27 x 18

    static QPixmap toolbar(ToolbarPicture picture);
    static QIcon toolbarIcon(ToolbarPicture picture);
    // By position in the toolbar's picture list; a position outside it gives a null picture.
    static QPixmap toolbar(int index);
    static QIcon toolbarIcon(int index);
    static QPixmap userTag(int index);
    // The logo banner of the top strip, 180 x 34.
    static QPixmap logoBanner();
    // The about box's picture, 235 x 130.
    static QPixmap aboutPicture();
    // The banner across the top of a dialog, 40 pixels high.
    static QPixmap dialogBanner(int width);
    static QIcon programIcon();
};

#pragma once

#include <QIcon>
#include <QPixmap>

// Every picture of the program, drawn by our own code at first use and cached.
class Pictures
{
public:
    static constexpr int ToolbarCount = 21; // 24 x 24, transparent background
    static constexpr int UserTagCount = 30; // 27 x 18

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

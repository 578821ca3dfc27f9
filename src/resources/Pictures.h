#pragma once

#include <QIcon>
#include <QPixmap>

#include "resources/ToolbarArt.h"

// Every picture of the program, drawn by our own code at first use and cached. Sizes are in
// logical pixels; a ratio asks for the drawing at that many device pixels per pixel (a widget's
// devicePixelRatioF()), so that it stays sharp on dense screens. Ratios are kept within
// [1, MaxRatio].
class Pictures
{
public:
    static constexpr qreal MaxRatio = 4;
    // The program icon offers the desktop its drawings at these ratios of each of its sizes.
    static constexpr qreal CommonRatios[] = {1, 1.25, 1.5, 2, 3};

    // 24 x 24, transparent background.
    static constexpr int ToolbarCount = int(ToolbarPicture::Screenshot) + 1;
    static constexpr int UserTagCount = 30; // 27 x 18

    static QPixmap toolbar(ToolbarPicture picture, qreal ratio = 1);
    // Icons draw their picture when asked for it, at the size and ratio asked (see
    // DrawnIconEngine).
    static QIcon toolbarIcon(ToolbarPicture picture);
    // By position in the toolbar's picture list; a position outside it gives a null picture.
    static QPixmap toolbar(int index, qreal ratio = 1);
    static QIcon toolbarIcon(int index);
    static QPixmap userTag(int index, qreal ratio = 1);
    static QIcon userTagIcon(int index);
    // The logo banner of the top strip, 180 x 34.
    static QPixmap logoBanner(qreal ratio = 1);
    // The about box's picture, 235 x 130.
    static QPixmap aboutPicture(qreal ratio = 1);
    // The banner across the top of a dialog, 40 pixels high.
    static QPixmap dialogBanner(int width, qreal ratio = 1);
    static QIcon programIcon();
};

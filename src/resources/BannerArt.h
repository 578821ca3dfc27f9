#pragma once

class QPainter;

// The larger pictures that carry the product's name: banners, the about picture, the icon.
class BannerArt
{
public:
    static constexpr int LogoWidth = 180;
    static constexpr int LogoHeight = 34;
    static constexpr int AboutWidth = 235;
    static constexpr int AboutHeight = 130;
    static constexpr int DialogHeight = 40;

    // Wordmark with the monogram on a transparent ground, for the button-face coloured top strip.
    static void logoBanner(QPainter& painter);
    // The logo picture of the about box, on white.
    static void aboutPicture(QPainter& painter);
    // A teal strip with the monogram and the product name, width pixels wide.
    static void dialogBanner(QPainter& painter, int width);
    static void programIcon(QPainter& painter, int size);
};

#pragma once

class QPainter;

// The toolbar and menu pictures, each drawn on a 24 x 24 grid with a transparent background.
class ToolbarArt
{
public:
    // Draws picture index (0 .. Pictures::ToolbarCount - 1); other indexes draw nothing.
    static void paint(QPainter& painter, int index);
};

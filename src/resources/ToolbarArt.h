#pragma once

class QPainter;

// The toolbar and menu pictures, in the order of the toolbar's picture list: the value of each
// name is its position there.
enum class ToolbarPicture
{
    PlugJoined,
    PlugApart,
    HomeChannel,
    Star,
    Away,
    NoEntry,
    Gears,
    Notebook,
    QuestionMark,
    Floppy,
    BackArrow,
    SiteLogo,
    ForumLogo,
    AdminLogo,
    DiabloII,
    StarCraft,
    StarCraftDisc,
    WarcraftIII,
    FrozenThrone,
    GamesMenu,
    Screenshot,
};

// Draws the toolbar and menu pictures, each on a 24 x 24 grid with a transparent background.
class ToolbarArt
{
public:
    static void paint(QPainter& painter, ToolbarPicture picture);
};

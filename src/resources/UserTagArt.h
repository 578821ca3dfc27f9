#pragma once

class QPainter;

// The pictures of the user list, 27 x 18: a client or rank picture per account, and the same
// pictures crossed out for the accounts the user has squelched.
class UserTagArt
{
public:
    // The picture a crossed-out tag is made from, or -1 when index is drawn on its own.
    static int crossedBase(int index);
    // Draws a picture that is not crossed out; crossed-out and unknown indexes draw nothing.
    static void paint(QPainter& painter, int index);
};

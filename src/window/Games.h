#pragma once

#include <QObject>

class QMenu;
class QString;
class WindowContext;

// The games menu: each item starts an installed game from the path the settings hold. Owns only
// the handlers; reads the settings and asks the desktop through the window.
class Games final : public QObject
{
    Q_OBJECT
public:
    // popGames holds the menu's items; not owned.
    Games(WindowContext& ctx, QMenu* popGames, QObject* parent);

    void popGD2Click();
    void popGSCClick();
    void popGW3Click();
    void popGW3XPClick();

private:
    void startGame(const QString& executable, const QString& parameters,
                   const QString& missingPathMessage);

    WindowContext& m_ctx;
};

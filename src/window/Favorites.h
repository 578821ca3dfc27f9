#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class WindowContext;

// The favourite channels (Canais in confs.ini): the entries behind the fixed items of the
// channels menu, each joining its channel, and the items and keys that add the current channel
// or open the dialog that organizes them. Owns the favourite entries of popCanais and its style;
// touches the fixed items, "Canais favoritos..." and Ctrl+D.
class Favorites final : public QObject
{
    Q_OBJECT
public:
    // What the feature asks the window.
    struct Hooks
    {
        // The channel the user is in now.
        std::function<QString()> channel;
    };

    // popCanais holds the fixed items by name; mnuOrgCanal and CrtlD are the options menu's item
    // and the window's key. None is owned.
    Favorites(WindowContext& ctx, QMenu* popCanais, QAction* mnuOrgCanal, QAction* CrtlD,
              Hooks hooks, QObject* parent);

    // Builds the favourites of popCanais again from the file.
    void loadFavoriteChannels();

    void joinCanal(QAction* item);
    void Adicionarcanal1Click();
    void CrtlDExecute();
    void Organizarcanais1Click();
    void mnuOrgCanalClick();

private:
    void setupFavorites(QAction* mnuOrgCanal, QAction* CrtlD);
    void addFavoriteChannel(const QString& caption);

    WindowContext& m_ctx;
    QMenu* popCanais;
    Hooks m_hooks;
};

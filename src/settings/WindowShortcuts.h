#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <Qt>

#include <optional>

// The key combinations the main window binds, each with what has it. Two shortcuts on one
// combination make Qt fire neither, so the minimize key (Geral/AtalhoMin) must stay clear of them:
// the options dialog refuses a combination taken here, and a clash typed into confs.ini is settled
// at start-up in favour of the fixed keys, then the minimize key, then the phrase shortcuts.
class WindowShortcuts
{
public:
    struct Binding
    {
        QKeyCombination keys;
        // Completes "já é usado ...": whom the combination belongs to, in Portuguese.
        QString usedBy;
    };

    // The fixed keys: the menu items' shortcuts, the window's own actions (among them the keys
    // that move between its regions and open a context menu), and the access keys of the menu bar
    // and of the "Emote" button.
    static QList<Binding> fixed();
    // The phrase shortcut of a letter from A to Z: Ctrl+Alt+letter.
    static QKeyCombination phrase(QChar letter);
    // What already has the combination, a fixed key or a phrase shortcut; nothing when it is free.
    static std::optional<QString> usedBy(QKeyCombination keys);

    // How a minimize key is bound beside the others.
    struct Resolution
    {
        std::optional<QKeyCombination> minimize; // the key to bind to minimizing, if any
        std::optional<QChar> phraseLeftOut;      // the letter whose phrase shortcut gives way
        QString notice;                          // names what is left out; empty when nothing is
    };
    static Resolution resolve(std::optional<QKeyCombination> minimize);
};

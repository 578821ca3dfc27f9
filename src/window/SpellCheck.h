#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QTimer>

#include "chat/PersonalWords.h"
#include "chat/SpellWords.h"

class QLineEdit;
class QMenu;
class UserListModel;
class WindowContext;

// Spell checking of the input line and the locked whisper lines (Geral/Ortografia): the words
// the dictionary lacks are underlined in red as the user types, and a line's context menu starts
// with the suggestions for the word under the pointer and "Adicionar ao dicionário", which puts
// it on the personal list (dicionario.txt beside confs.ini). The channel's account names,
// addresses and commands are never marked. The shared dictionary is loaded once a line has text,
// after the window is shown; checking starts when it is ready, and switched off the lines are as
// without it.
// Owns the underlines, drawn as input method text formats that a line edit keeps through
// typing, undo and new text until the next check; the personal list; the lines' context menus
// while it checks. Reads the user list; changes a line's text only through a chosen suggestion.
class SpellCheck final : public QObject
{
    Q_OBJECT
public:
    // The personal list's file, in the settings folder.
    static const QString PersonalFile;

    // lines: the edits it checks; users: the channel's accounts. None is owned.
    SpellCheck(WindowContext& ctx, const UserListModel* users, const QList<QLineEdit*>& lines,
               QObject* parent);
    ~SpellCheck() override;

    // After the window is shown: reads the personal list and checks the lines.
    void startUp();
    // Takes Geral/Ortografia again.
    void applyOptions();
    // Checking is on and the dictionary is loaded.
    bool active() const;

    // The words marked in a line now.
    QList<SpellWords::Range> marked(const QLineEdit* line) const;
    // The context menu of a line for the word at position (a caret position): the line's own
    // menu, led by the suggestions and "Adicionar ao dicionário" when the word is marked. The
    // caller owns it.
    QMenu* contextMenu(QLineEdit* line, int position);

    // The misspelled words of a line of text; empty while inactive.
    QList<SpellWords::Range> misspelled(const QString& text) const;
    // Draws these words of the line underlined in red, and no others.
    static void markWords(QLineEdit* line, const QList<SpellWords::Range>& words);

protected:
    // The lines' context menus, and whether an input method is composing in a line.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void check(QLineEdit* line);
    void checkAll();
    bool isAccount(const QString& name) const;
    void addWord(const QString& word);

    WindowContext& m_ctx;
    const UserListModel* m_users;
    QList<QLineEdit*> m_lines;
    PersonalWords m_personal;
    bool m_enabled = true;
    bool m_started = false;
    QHash<const QLineEdit*, QList<SpellWords::Range>> m_marked;
    // Lines where an input method shows text being composed: a check would end the
    // composition, so it waits for the text.
    QSet<const QLineEdit*> m_composing;
    bool m_marking = false;
    // The user list changes in bursts (a channel's accounts arrive one a line): the lines are
    // checked once after it.
    QTimer m_usersChanged;
};

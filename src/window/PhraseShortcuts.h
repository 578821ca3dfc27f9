#pragma once

#include <QList>
#include <QObject>

class QAction;
class QLineEdit;
class WindowContext;

// The phrase shortcuts (Atalhos in confs.ini): the keys "atalhoA".."atalhoZ" type or send their
// stored phrase, and "Configurar atalhos..." edits them. It handles the actions it is given and
// the input line, and sends through the window's gate.
class PhraseShortcuts final : public QObject
{
    Q_OBJECT
public:
    // atalhos: the shortcut actions, each with its letter as caption.
    PhraseShortcuts(WindowContext& ctx, const QList<QAction*>& atalhos, QAction* mnuConfigAtalhos,
                    QLineEdit* txtMsg, QObject* parent);

    // Sender is the shortcut's action: its caption is the letter.
    void execAtalho(QAction* Sender);
    void mnuConfigAtalhosClick();

private:
    WindowContext& m_ctx;
    QLineEdit* txtMsg;
};

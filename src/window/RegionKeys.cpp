#include "window/RegionKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLineEdit>
#include <QTreeView>
#include <QTreeWidget>

#include "view/ChatView.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/FocusCycle.h"
#include "window/InputLine.h"
#include "window/UserColumn.h"
#include "window/WindowContext.h"

RegionKeys::RegionKeys(WindowContext& context, QWidget* window, const InputLine* input,
                       const BottomStrip* bottom, const ChatColumn* chat, const UserColumn* users)
    : QObject(window), m_input(input), m_bottom(bottom), m_chat(chat), m_users(users)
{
    setObjectName(QStringLiteral("RegionKeys"));
    const auto keyAction = [window](const char* name, const char* keys) {
        const QString text = QString::fromLatin1(name);
        auto* action = new QAction(text, window);
        action->setObjectName(text);
        action->setShortcut(QKeySequence(QString::fromLatin1(keys)));
        window->addAction(action);
        return action;
    };
    for (const bool forward : {true, false}) {
        QAction* action = forward ? keyAction("focusNextRegion", "F6")
                                  : keyAction("focusPreviousRegion", "Shift+F6");
        connect(action, &QAction::triggered, this, context.guard([this, forward] {
            if (QWidget* stop =
                    FocusCycle::step(focusStops(), QApplication::focusWidget(), forward))
                stop->setFocus(Qt::ShortcutFocusReason);
        }));
    }
    connect(keyAction("openContextMenu", "Shift+F10"), &QAction::triggered, this,
            context.guard([] { FocusCycle::openContextMenu(QApplication::focusWidget()); }));
}

// The regions F6 moves between. The input line is the line that has the focus, or else the one
// used last: a locked whisper line counts as the input line.
QList<QWidget*> RegionKeys::focusStops() const
{
    QWidget* input = m_bottom->txtMsg;
    if (QWidget* focus = QApplication::focusWidget(); m_bottom->isInputLine(focus))
        input = focus;
    else if (QLineEdit* last = m_input->lastInput(); last && last->isVisible())
        input = last;
    return {input, m_chat->txtChat, m_chat->txtWhisps, m_users->lstUsers, m_users->lstCustom};
}

#pragma once

#include <QObject>
#include <QString>

class QAction;
class QUrl;
class WindowContext;

// Addresses in the panes: a click on one opens it, and the panes' context menu offers to copy
// the one it was opened over. Owns the two menu items of that offer and the address last under
// the menu; touches the panes and the desktop through the window. Opening an address, or saying
// that nothing can open it, serves the window's other features too.
class PaneLinks final : public QObject
{
    Q_OBJECT
public:
    // popCopyAddress and its separator are items of the panes' context menu; not owned.
    PaneLinks(WindowContext& ctx, QAction* popCopyAddress, QAction* popCopyAddressSeparator,
              QObject* parent);

    void paneLinkClick(const QUrl& url);
    // Opens an address or file in the desktop's program; says so in the channel pane when none can.
    void openAddress(const QUrl& url);
    void cannotOpen(const QString& what);
    void popChatOpening(const QString& link);
    void popCopyAddressClick();

private:
    WindowContext& m_ctx;
    QAction* popCopyAddress = nullptr;
    QAction* popCopyAddressSeparator = nullptr;
    // The address the panes' context menu was last opened over; empty: none.
    QString m_popupLink;
};

#include "window/TfrmMain.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QUrl>

#include "tools/Shell.h"
#include "view/ChatView.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"

// A click on an address in either pane opens it in the browser; the panes' shared context menu
// offers to copy the address it was opened over.
void TfrmMain::setupPaneLinks()
{
    for (ChatView* pane : {m_chatColumn->txtChat, m_chatColumn->txtWhisps}) {
        connect(pane, &ChatView::linkActivated, this,
                [this](const QUrl& url) { guarded([this, &url] { paneLinkClick(url); }); });
        connect(pane, &ChatView::popupOpening, this,
                [this](const QString& link) { guarded([this, &link] { popChatOpening(link); }); });
    }
    connect(popCopyAddress, &QAction::triggered, this, guard([this] { popCopyAddressClick(); }));
}

void TfrmMain::paneLinkClick(const QUrl& url)
{
    openAddress(url);
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::openAddress(const QUrl& url)
{
    if (m_shell->openUrl(url))
        return;
    cannotOpen(url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile())
                                 : url.toDisplayString());
}

void TfrmMain::cannotOpen(const QString& what)
{
    erro(QStringLiteral("Não foi possível abrir ") + what +
         QStringLiteral(": nenhum programa para abri-lo."));
}

void TfrmMain::popChatOpening(const QString& link)
{
    m_popupLink = link;
    popCopyAddress->setVisible(!link.isEmpty());
    popCopyAddressSeparator->setVisible(!link.isEmpty());
}

void TfrmMain::popCopyAddressClick()
{
    QGuiApplication::clipboard()->setText(m_popupLink);
    m_bottomStrip->txtMsg->setFocus();
}

#include "window/PaneLinks.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QUrl>

#include "tools/Shell.h"
#include "view/ChatView.h"
#include "window/WindowContext.h"

// A click on an address in either pane opens it in the browser; the panes' shared context menu
// offers to copy the address it was opened over.
PaneLinks::PaneLinks(WindowContext& ctx, QAction* popCopyAddress, QAction* popCopyAddressSeparator,
                     QObject* parent)
    : QObject(parent), m_ctx(ctx), popCopyAddress(popCopyAddress),
      popCopyAddressSeparator(popCopyAddressSeparator)
{
    setObjectName(QStringLiteral("PaneLinks"));
    for (ChatView* pane : {m_ctx.chatPane(), m_ctx.whisperPane()}) {
        connect(pane, &ChatView::linkActivated, this,
                [this](const QUrl& url) { m_ctx.guarded([this, &url] { paneLinkClick(url); }); });
        connect(pane, &ChatView::popupOpening, this, [this](const QString& link) {
            m_ctx.guarded([this, &link] { popChatOpening(link); });
        });
    }
    connect(popCopyAddress, &QAction::triggered, this,
            m_ctx.guard([this] { popCopyAddressClick(); }));
}

void PaneLinks::paneLinkClick(const QUrl& url)
{
    openAddress(url);
    m_ctx.focusInputLine();
}

void PaneLinks::openAddress(const QUrl& url)
{
    if (m_ctx.shell()->openUrl(url))
        return;
    cannotOpen(url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile())
                                 : url.toDisplayString());
}

void PaneLinks::cannotOpen(const QString& what)
{
    m_ctx.erro(QStringLiteral("Não foi possível abrir ") + what +
               QStringLiteral(": nenhum programa para abri-lo."));
}

void PaneLinks::popChatOpening(const QString& link)
{
    m_popupLink = link;
    popCopyAddress->setVisible(!link.isEmpty());
    popCopyAddressSeparator->setVisible(!link.isEmpty());
}

void PaneLinks::popCopyAddressClick()
{
    QGuiApplication::clipboard()->setText(m_popupLink);
    m_ctx.focusInputLine();
}

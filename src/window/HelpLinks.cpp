#include "window/HelpLinks.h"

#include <QAction>
#include <QToolButton>
#include <QUrl>

#include "dialogs/Prompts.h"
#include "tools/TfrmSobre.h"
#include "tools/WebLinks.h"
#include "view/ChatView.h"
#include "window/PaneLinks.h"
#include "window/WindowContext.h"

// The help menu's items open the same pages as the toolbar's buttons.
HelpLinks::HelpLinks(WindowContext& ctx, PaneLinks& paneLinks, QToolButton* btnSite,
                     QToolButton* btnForum, QAction* mnuSite, QAction* mnuForum, QAction* mnuSobre,
                     QObject* parent)
    : QObject(parent), m_ctx(ctx), m_paneLinks(paneLinks)
{
    setObjectName(QStringLiteral("HelpLinks"));
    connect(btnSite, &QToolButton::clicked, this, m_ctx.guard([this] { btnSiteClick(); }));
    connect(mnuSite, &QAction::triggered, this, m_ctx.guard([this] { btnSiteClick(); }));
    connect(btnForum, &QToolButton::clicked, this, m_ctx.guard([this] { btnForumClick(); }));
    connect(mnuForum, &QAction::triggered, this, m_ctx.guard([this] { btnForumClick(); }));
    connect(mnuSobre, &QAction::triggered, this, m_ctx.guard([this] { mnuSobreClick(); }));
}

void HelpLinks::btnSiteClick()
{
    m_paneLinks.openAddress(WebLinks::site());
    m_ctx.focusInputLine();
}

void HelpLinks::btnForumClick()
{
    m_paneLinks.openAddress(WebLinks::forum());
    m_ctx.focusInputLine();
}

void HelpLinks::mnuSobreClick()
{
    m_ctx.chatPane()->setFocus();
    TfrmSobre box(m_ctx.dialogParent());
    m_ctx.prompts().exec(box);
    m_ctx.focusInputLine();
}

#include "window/TfrmMain.h"

#include <QAction>
#include <QLineEdit>
#include <QToolButton>

#include "dialogs/Prompts.h"
#include "tools/Shell.h"
#include "tools/TfrmSobre.h"
#include "tools/WebLinks.h"
#include "view/ChatView.h"
#include "window/BottomStrip.h"
#include "window/ChatColumn.h"
#include "window/PaneLinks.h"
#include "window/TopStrip.h"

// The help menu's items open the same pages as the toolbar's buttons.
void TfrmMain::setupLinks()
{
    connect(m_topStrip->btnSite, &QToolButton::clicked, this, guard([this] { btnSiteClick(); }));
    connect(mnuSite, &QAction::triggered, this, guard([this] { btnSiteClick(); }));
    connect(m_topStrip->btnForum, &QToolButton::clicked, this, guard([this] { btnForumClick(); }));
    connect(mnuForum, &QAction::triggered, this, guard([this] { btnForumClick(); }));
    connect(mnuSobre, &QAction::triggered, this, guard([this] { mnuSobreClick(); }));
}

void TfrmMain::btnSiteClick()
{
    m_paneLinks->openAddress(WebLinks::site());
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::btnForumClick()
{
    m_paneLinks->openAddress(WebLinks::forum());
    m_bottomStrip->txtMsg->setFocus();
}

void TfrmMain::mnuSobreClick()
{
    m_chatColumn->txtChat->setFocus();
    TfrmSobre box(this);
    m_prompts->exec(box);
    m_bottomStrip->txtMsg->setFocus();
}

#pragma once

#include <QObject>

class PaneLinks;
class QAction;
class QToolButton;
class WindowContext;

// The web pages and the about box, from the toolbar and the help menu. Owns nothing but their
// handlers; opens the pages through the pane links and shows the box through the window's
// prompts.
class HelpLinks final : public QObject
{
    Q_OBJECT
public:
    // The buttons and menu items are the window's; none is owned.
    HelpLinks(WindowContext& ctx, PaneLinks& paneLinks, QToolButton* btnSite, QToolButton* btnForum,
              QAction* mnuSite, QAction* mnuForum, QAction* mnuSobre, QObject* parent);

    void btnSiteClick();
    void btnForumClick();
    void mnuSobreClick();

private:
    WindowContext& m_ctx;
    PaneLinks& m_paneLinks;
};

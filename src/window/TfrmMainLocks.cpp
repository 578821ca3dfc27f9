#include "window/TfrmMain.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTreeView>

#include "chat/UserListModel.h"
#include "window/BottomStrip.h"
#include "window/LockedWhisperPanel.h"
#include "window/TLockWhisps.h"
#include "window/UserColumn.h"

namespace {
int tagOf(const QObject* Sender)
{
    return Sender->property("Tag").toInt();
}
} // namespace

void TfrmMain::setupLockConnections()
{
    for (LockedWhisperPanel* lock : m_bottomStrip->lockPanels()) {
        QPushButton* whispar = lock->btnWhispar;
        connect(whispar, &QPushButton::clicked, this,
                guard([this, whispar] { btnWhispar1Click(whispar); }));
        QPushButton* fechar = lock->btnFecharWhispLock;
        connect(fechar, &QPushButton::clicked, this,
                guard([this, fechar] { btnFecharWhispLock1Click(fechar); }));
    }
    connect(findChild<QAction*>(QStringLiteral("LockarWhisp1")), &QAction::triggered, this,
            guard([this] { LockarWhisp1Click(); }));
}

void TfrmMain::btnWhispar1Click(QObject* Sender)
{
    FLockWhisps->whispar(tagOf(Sender));
}

void TfrmMain::btnFecharWhispLock1Click(QObject* Sender)
{
    FLockWhisps->delLock(tagOf(Sender));
}

void TfrmMain::lblAccWhisp1Click(QObject* Sender)
{
    FLockWhisps->whois(tagOf(Sender));
}

void TfrmMain::LockarWhisp1Click()
{
    const QModelIndexList selected = m_userColumn->lstUsers->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    FLockWhisps->addLock(m_users->at(selected.first().row()).account);
}

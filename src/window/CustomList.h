#pragma once

#include <QObject>
#include <QString>

class Moderation;
class QAction;
class QMenu;
class TLockWhisps;
class UserColumn;
class WindowContext;

// The suspect accounts list (Lista in confs.ini) under the user list: filled at start, grown
// from the user list's menu in operator mode, and edited from its own menu. Owns the rows of
// lstCustom and their entries in the file; touches the items of popUsers and popCustom it serves,
// and opens locked whisper lines.
class CustomList final : public QObject
{
    Q_OBJECT
public:
    // popUsers and popCustom hold the items it serves by name; moderation says whether operator
    // mode is on. None is owned.
    CustomList(WindowContext& ctx, QMenu* popUsers, QMenu* popCustom, UserColumn* userColumn,
               const Moderation* moderation, TLockWhisps* lockWhisps, QObject* parent);

    // Fills the list from the file, at start.
    void loadSuspects();

    void AdicionarLista1Click();
    void popAddCustomClick();
    void popMotCustomClick();
    void popDelCustomClick();
    void popCustomWhoisClick();
    void popCustomLockarWhispClick();
    void lstCustom1DblClick();

private:
    void setupCustomList(QMenu* popUsers, QMenu* popCustom);
    void addSuspect(const QString& account);
    int selectedSuspect() const;
    int storedSuspect(int row) const;

    WindowContext& m_ctx;
    UserColumn* m_userColumn;
    const Moderation* m_moderation;
    TLockWhisps* FLockWhisps;
};

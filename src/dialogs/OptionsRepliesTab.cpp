#include "dialogs/OptionsRepliesTab.h"

#include "dialogs/OptionsContext.h"
#include "settings/TIniFile.h"

OptionsRepliesTab::OptionsRepliesTab(TIniFile& ini, const OptionsContext& context, QWidget* parent)
    : QWidget(parent), FIni(ini), m_context(context)
{
    setObjectName(QStringLiteral("tsRespostas"));
}

void OptionsRepliesTab::store() {}

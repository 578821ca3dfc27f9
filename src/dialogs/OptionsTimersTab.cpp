#include "dialogs/OptionsTimersTab.h"

#include "dialogs/OptionsContext.h"
#include "settings/TIniFile.h"

OptionsTimersTab::OptionsTimersTab(TIniFile& ini, const OptionsContext& context, QWidget* parent)
    : QWidget(parent), FIni(ini), m_context(context)
{
    setObjectName(QStringLiteral("tsTimers"));
}

void OptionsTimersTab::store() {}

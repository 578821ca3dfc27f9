#include "dialogs/OptionsGeneralTab.h"

#include "dialogs/OptionsContext.h"
#include "settings/TIniFile.h"

OptionsGeneralTab::OptionsGeneralTab(TIniFile& ini, const OptionsContext& context, QWidget* parent)
    : QWidget(parent), FIni(ini), m_context(context)
{
    setObjectName(QStringLiteral("tsGeral"));
}

void OptionsGeneralTab::store() {}

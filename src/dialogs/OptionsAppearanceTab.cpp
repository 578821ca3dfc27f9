#include "dialogs/OptionsAppearanceTab.h"

#include "dialogs/OptionsContext.h"
#include "settings/TIniFile.h"

OptionsAppearanceTab::OptionsAppearanceTab(TIniFile& ini, const OptionsContext& context,
                                           QWidget* parent)
    : QWidget(parent), FIni(ini), m_context(context)
{
    setObjectName(QStringLiteral("tsAparencia"));
}

void OptionsAppearanceTab::store() {}

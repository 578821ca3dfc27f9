#include "dialogs/OptionsRepliesTab.h"

#include <QHBoxLayout>

#include "dialogs/OptionsContext.h"
#include "dialogs/ReplyListGroup.h"
#include "settings/NumberedList.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"

OptionsRepliesTab::OptionsRepliesTab(TIniFile& ini, const OptionsContext& context, QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("tsRespostas"));
    grpRespFrases = new ReplyListGroup(
        ini, context.prompts,
        {NumberedList::phraseReplies(),
         Keys::Respostas::RespFrase,
         QStringLiteral("grpRespFrases"),
         QStringLiteral("chkResponderFrase"),
         QStringLiteral("Responder a frases"),
         QStringLiteral("lstFrases"),
         QStringLiteral("Frases com resposta"),
         QStringLiteral("btnDelFrase"),
         QStringLiteral("txtFrase"),
         QStringLiteral("Frase:"),
         {QStringLiteral("txtResp1"), QStringLiteral("txtResp2"), QStringLiteral("txtResp3")},
         QStringLiteral("btnAddFrase")},
        this);
    grpRespWhisp = new ReplyListGroup(
        ini, context.prompts,
        {NumberedList::whisperReplies(),
         Keys::Respostas::RespWhisp,
         QStringLiteral("grpRespWhisp"),
         QStringLiteral("chkResponderWhisp"),
         QStringLiteral("Responder a whisps"),
         QStringLiteral("lstWhisps"),
         QStringLiteral("Whisps com resposta"),
         QStringLiteral("btnDelWhisp"),
         QStringLiteral("txtWhisp"),
         QStringLiteral("Whisp:"),
         {QStringLiteral("txtRespW1"), QStringLiteral("txtRespW2"), QStringLiteral("txtRespW3")},
         QStringLiteral("btnAddWhisp")},
        this);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(grpRespFrases);
    layout->addWidget(grpRespWhisp);
}

void OptionsRepliesTab::store()
{
    grpRespFrases->store();
    grpRespWhisp->store();
}

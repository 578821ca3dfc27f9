#include "window/Mentions.h"

#include "core/AsciiCase.h"
#include "net/TGatewayChat.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/Panes.h"
#include "window/WhisperNotices.h"
#include "window/WindowContext.h"

Mentions::Mentions(WindowContext& ctx, TGatewayChat* chat, Panes* panes, WhisperNotices* notices,
                   QObject* parent)
    : QObject(parent), m_ctx(ctx), m_panes(panes), m_notices(notices)
{
    setObjectName(QStringLiteral("Mentions"));
    chat->OnUniqueName = [this](const QString& User) { GatewayChat1UniqueName(User); };
}

void Mentions::applyOptions()
{
    m_enabled = Settings::read(*m_ctx.settings(), Keys::Geral::Mencoes);
    m_matcher.setHighlightWords(Settings::read(*m_ctx.settings(), Keys::Geral::Destaques));
}

void Mentions::sessionEnded()
{
    m_matcher.setAccount(QString());
}

// A line cut short ("2010 NAME") names nothing and leaves the name as it was.
void Mentions::GatewayChat1UniqueName(const QString& User)
{
    if (!User.isEmpty())
        m_matcher.setAccount(User);
}

bool Mentions::showMention(const QString& User, const QString& Mess, bool emote)
{
    if (!m_enabled || !m_matcher.mentions(User, Mess))
        return false;
    // Our own account as we logged in, also before the server has named it.
    if (AsciiCase::toLower(User) == AsciiCase::toLower(m_ctx.login()))
        return false;
    m_panes->mencao(User, Mess, emote);
    m_notices->noticeMention(User, m_ctx.channel(), Mess);
    return true;
}

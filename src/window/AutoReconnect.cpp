#include "window/AutoReconnect.h"

#include <algorithm>
#include <cmath>

#include <QRandomGenerator>
#include <QTimer>

#include "core/AsciiCase.h"
#include "settings/SettingKeys.h"
#include "settings/TIniFile.h"
#include "window/WindowContext.h"

namespace {
ReconnectPolicy::RandomSource systemRandom()
{
    // Every client a server dropped must draw differently, so never the program's shared,
    // unseeded generator.
    return [] { return QRandomGenerator::global()->generateDouble(); };
}

// Channel names are the same whatever the letter case of their ASCII letters.
bool sameChannel(const QString& a, const QString& b)
{
    return AsciiCase::toLower(a) == AsciiCase::toLower(b);
}
} // namespace

AutoReconnect::AutoReconnect(WindowContext& context, Hooks hooks, QObject* parent)
    : QObject(parent), m_ctx(context), m_hooks(std::move(hooks)), m_policy(systemRandom()),
      tmrReconectar(new QTimer(this))
{
    setObjectName(QStringLiteral("AutoReconnect"));
    tmrReconectar->setObjectName(QStringLiteral("tmrReconectar"));
    tmrReconectar->setSingleShot(true);
    connect(tmrReconectar, &QTimer::timeout, this, m_ctx.guard([this] { tmrReconectarTimer(); }));
}

void AutoReconnect::applyOptions()
{
    if (m_waiting && !Settings::read(*m_ctx.settings(), Keys::Geral::Reconectar))
        end(true);
}

void AutoReconnect::setTimeScaleForTests(int msPerSecond)
{
    m_msPerSecond = std::max(1, msPerSecond);
}

void AutoReconnect::setRandomForTests(ReconnectPolicy::RandomSource random)
{
    m_policy = ReconnectPolicy(std::move(random));
}

void AutoReconnect::setWaiting(bool waiting)
{
    if (m_waiting == waiting)
        return;
    m_waiting = waiting;
    m_hooks.waitingChanged(waiting);
}

void AutoReconnect::sessionAccepted()
{
    m_up.start();
    if (!m_attempted)
        return;
    m_attempted = false;
    setWaiting(false);
    // The home channel was asked for already when the option says so; a second join of the same
    // channel would only make the server list it again.
    const bool homeJoined =
        Settings::read(*m_ctx.settings(), Keys::Geral::JoinPrinc) &&
        sameChannel(m_rejoin, Settings::read(*m_ctx.settings(), Keys::Geral::CanalPrincipal));
    if (!m_rejoin.isEmpty() && !homeJoined)
        m_ctx.sendLine(QStringLiteral("/join ") + m_rejoin + QLatin1Char('\r'));
}

void AutoReconnect::sessionEnded(ReconnectPolicy::End how)
{
    qint64 up = -1;
    if (m_up.isValid())
        up = m_up.elapsed() * 1000 / m_msPerSecond;
    m_up.invalidate();
    m_attempted = false;
    if (!Settings::read(*m_ctx.settings(), Keys::Geral::Reconectar)) {
        end(false);
        return;
    }
    // A new series rejoins where the user was when the session dropped; the short sessions of a
    // series keep that channel, whatever the server put them in before it dropped them again.
    const bool freshSeries = !m_policy.running() || up >= ReconnectPolicy::SteadyMs;
    const std::optional<int> wait = m_policy.next(how, up);
    if (!wait) {
        end(false);
        return;
    }
    if (freshSeries)
        m_rejoin = how == ReconnectPolicy::End::SessionLost ? m_ctx.channel() : QString();
    const int seconds = std::max(1, int(std::lround(*wait / 1000.0)));
    m_ctx.info(QStringLiteral("Reconectando em %1 s…").arg(seconds));
    tmrReconectar->start(int(qint64(*wait) * m_msPerSecond / 1000));
    setWaiting(true);
}

void AutoReconnect::tmrReconectarTimer()
{
    m_ctx.info(QStringLiteral("Reconectando (tentativa %1)…").arg(m_policy.attempt()));
    m_attempted = true;
    m_hooks.attempt();
}

void AutoReconnect::userTookOver(bool told)
{
    if (m_waiting)
        end(told);
}

void AutoReconnect::end(bool told)
{
    const bool wasWaiting = m_waiting;
    tmrReconectar->stop();
    m_policy.stop();
    m_rejoin.clear();
    m_attempted = false;
    setWaiting(false);
    if (told && wasWaiting)
        m_ctx.info(QStringLiteral("Reconexão automática cancelada."));
}

#include "SimulatedUsers.h"

#include <QPointer>
#include <QTimer>

#include "Channel.h"
#include "Hub.h"
#include "Member.h"
#include "core/SharedRandom.h"

// A simulated account: receives nothing, and a kill only takes it offline.
class SimulatedUser final : public Member
{
public:
    SimulatedUser(Hub& hub, const QString& name, const QString& tag)
        : Member(name, tag, 0), m_hub(hub)
    {
    }
    void deliver(const QString&) override {}
    void terminate(const QString&) override { m_hub.removeMember(this); }
    bool isSimulated() const override { return true; }
    QString address() const override { return QStringLiteral("simulado"); }

    bool replyPending = false;

private:
    Hub& m_hub;
};

namespace {

struct Account
{
    const char* name;
    const char* tag;
    int privilege;
    bool voiced;
    bool startsOnline;
};

const Account accounts[] = {
    {"Zefa", "D2XP", 0, false, true},
    {"Tonho_D2", "D2DV", 0, false, true},
    {"Mod-Rita", "W3XP", Member::ModeratorFlag, false, true},
    {"Adm-Lua", "CHAT", Member::AdminFlag, false, true},
    {"Bia_Voz", "STAR", 0, true, true},
    {"Dri_W3", "WAR3", 0, false, true},
    {"Quinzinho", "SEXP", 0, false, false},
    {"Juca", "W2BN", 0, false, false},
};
enum Bot
{
    Zefa,
    Tonho,
    Rita,
    Lua,
    Bia,
    Dri,
    Quinzinho,
    Juca
};

enum class Action
{
    Talk,
    Emote,
    Whisper,
    Join,
    Leave
};

struct Step
{
    Action action;
    int bot;
    const char* text;
};

const Step schedule[] = {
    {Action::Talk, Zefa, "alguém pra fazer baal run no hell?"},
    {Action::Talk, Tonho, "eu vou, só terminar esse trav aqui"},
    {Action::Emote, Bia, "está procurando um grupo para cows"},
    {Action::Join, Quinzinho, nullptr},
    {Action::Talk, Quinzinho, "boa noite, galera!"},
    {Action::Talk, Rita, "lembrando: sem flood e sem spam no canal, beleza?"},
    {Action::Whisper, Zefa, "oi! quer entrar na run? o jogo é baal-run-07"},
    {Action::Talk, Dri, "alguém pra um 2x2?"},
    {Action::Leave, Tonho, nullptr},
    {Action::Talk, Lua, "o servidor fica de pé a noite toda hoje"},
    {Action::Emote, Zefa, "dança no meio do canal"},
    {Action::Join, Juca, nullptr},
    {Action::Talk, Juca, "ainda tem gente jogando no w2?"},
    {Action::Talk, Bia, "tem sim, Juca! no fim de semana tem campeonato"},
    {Action::Join, Tonho, nullptr},
    {Action::Whisper, Rita, "qualquer problema no canal é só me chamar."},
    {Action::Talk, Tonho, "voltei, caiu a internet kkk"},
    {Action::Leave, Quinzinho, nullptr},
    {Action::Talk, Zefa, "bora, baal-run-07 aberto, senha 123"},
    {Action::Emote, Dri, "venceu mais uma partida"},
    {Action::Leave, Juca, nullptr},
    {Action::Talk, Rita, "valeu, pessoal, bom jogo a todos"},
    {Action::Whisper, Bia, "quer uma força no ato 1?"},
    {Action::Talk, Lua, "manutenção amanhã às 6h, fiquem ligados"},
};
constexpr int ScheduleSize = int(sizeof(schedule) / sizeof(schedule[0]));

const char* const greetings[] = {
    "oi, %1, bem-vindo!",
    "e aí, %1, tudo certo?",
    "salve, %1!",
};

const char* const answers[] = {
    "opa, agora não posso, tô no meio de um jogo",
    "valeu pela mensagem! falo contigo já já",
    "haha, boa! depois a gente combina",
};

constexpr int GreetingDelayMs = 2500;
constexpr int AnswerDelayMs = 3000;

} // namespace

SimulatedUsers::SimulatedUsers(Hub& hub, int intervalMs, QObject* parent)
    : QObject(parent), m_hub(hub), m_timer(new QTimer(this)), m_intervalMs(intervalMs)
{
    for (const Account& account : accounts) {
        auto bot = std::make_unique<SimulatedUser>(m_hub, QString::fromUtf8(account.name),
                                                   QLatin1String(account.tag));
        bot->setPrivilege(account.privilege);
        bot->setVoiced(account.voiced);
        m_bots.push_back(std::move(bot));
    }
    connect(m_timer, &QTimer::timeout, this, &SimulatedUsers::step);
    m_hub.OnJoined = [this](Member* member, Channel* channel) { newcomer(member, channel); };
    m_hub.OnSimulatedWhispered = [this](Member* simulated, Member* from, const QString&) {
        whispered(simulated, from);
    };
}

SimulatedUsers::~SimulatedUsers()
{
    m_hub.OnJoined = nullptr;
    m_hub.OnSimulatedWhispered = nullptr;
    for (const auto& bot : m_bots)
        m_hub.removeMember(bot.get());
}

void SimulatedUsers::start()
{
    for (int i = 0; i < int(m_bots.size()); ++i) {
        if (accounts[i].startsOnline)
            bringOnline(bot(i));
    }
    // The first action comes soon, so a newcomer finds the channel alive at once.
    QTimer::singleShot(qMin(m_intervalMs, 3000), this, &SimulatedUsers::step);
    m_timer->start(m_intervalMs);
}

SimulatedUser* SimulatedUsers::bot(int index) const
{
    return m_bots.at(std::size_t(index)).get();
}

bool SimulatedUsers::isOnline(SimulatedUser* bot) const
{
    return m_hub.members().contains(bot);
}

bool SimulatedUsers::bringOnline(SimulatedUser* bot)
{
    // A real client may have taken the name while the account was away.
    if (isOnline(bot) || m_hub.find(bot->name()))
        return false;
    m_hub.addMember(bot);
    if (m_hub.join(bot, m_hub.options().homeChannel) != Hub::JoinResult::Joined) {
        m_hub.removeMember(bot);
        return false;
    }
    return true;
}

QList<Member*> SimulatedUsers::realMembers() const
{
    QList<Member*> real;
    for (Member* member : m_hub.members()) {
        if (!member->isSimulated() && member->channel())
            real.append(member);
    }
    return real;
}

void SimulatedUsers::step()
{
    for (int tries = 0; tries < ScheduleSize; ++tries) {
        const int index = m_next;
        m_next = (m_next + 1) % ScheduleSize;
        if (runStep(index))
            return;
    }
}

bool SimulatedUsers::runStep(int index)
{
    const Step& step = schedule[index];
    SimulatedUser* actor = bot(step.bot);
    const QString text = QString::fromUtf8(step.text ? step.text : "");
    switch (step.action) {
    case Action::Join:
        return bringOnline(actor);
    case Action::Leave:
        if (!isOnline(actor))
            return false;
        m_hub.removeMember(actor);
        return true;
    case Action::Talk:
    case Action::Emote:
        // An account sent away by a kick comes back when it is next due to speak.
        if (!isOnline(actor))
            return bringOnline(actor);
        if (step.action == Action::Talk)
            m_hub.talk(actor, text);
        else
            m_hub.emote(actor, text);
        return true;
    case Action::Whisper: {
        const QList<Member*> real = realMembers();
        if (!isOnline(actor) || real.isEmpty())
            return false;
        m_hub.whisper(actor, real.at(SharedRandom::below(int(real.size())))->name(), text);
        return true;
    }
    }
    return false;
}

void SimulatedUsers::newcomer(Member* member, Channel* channel)
{
    if (member->isSimulated() || m_greetingPending ||
        channel->name().compare(m_hub.options().homeChannel, Qt::CaseInsensitive) != 0)
        return;
    m_greetingPending = true;
    const QString name = member->name();
    QTimer::singleShot(GreetingDelayMs, this, [this, name] {
        m_greetingPending = false;
        Member* newcomer = m_hub.find(name);
        Channel* home = m_hub.findChannel(m_hub.options().homeChannel);
        if (!newcomer || !home || newcomer->channel() != home)
            return;
        QList<SimulatedUser*> present;
        for (const auto& bot : m_bots) {
            if (bot->channel() == home)
                present.append(bot.get());
        }
        if (present.isEmpty())
            return;
        SimulatedUser* greeter = present.at(SharedRandom::below(int(present.size())));
        const int phrase = SharedRandom::below(int(sizeof(greetings) / sizeof(greetings[0])));
        m_hub.talk(greeter, QString::fromUtf8(greetings[phrase]).arg(name));
    });
}

void SimulatedUsers::whispered(Member* simulated, Member* from)
{
    auto* bot = static_cast<SimulatedUser*>(simulated);
    if (bot->replyPending || from->isSimulated())
        return;
    bot->replyPending = true;
    const QString name = from->name();
    QTimer::singleShot(AnswerDelayMs, this, [this, bot, name] {
        bot->replyPending = false;
        if (!isOnline(bot) || !m_hub.find(name))
            return;
        const int phrase = SharedRandom::below(int(sizeof(answers) / sizeof(answers[0])));
        m_hub.whisper(bot, name, QString::fromUtf8(answers[phrase]));
    });
}

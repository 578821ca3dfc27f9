#include "CommandInterpreter.h"

#include <QDateTime>
#include <QHash>
#include <QStringList>

#include "Channel.h"
#include "Hub.h"
#include "Member.h"
#include "Protocol.h"
#include "core/AsciiCase.h"

namespace {

// Lists that could be long are cut after this many lines.
constexpr int MaxListLines = 50;

struct Split
{
    QString first;
    QString rest;
};

// The first blank-separated word and what follows it, leading blanks removed.
Split splitFirst(const QString& text)
{
    const QString trimmed = text.trimmed();
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    if (blank < 0)
        return {trimmed, QString()};
    qsizetype start = blank;
    while (start < trimmed.size() && trimmed.at(start) == QLatin1Char(' '))
        ++start;
    return {trimmed.left(blank), trimmed.mid(start)};
}

QString withReason(const QString& text, const QString& reason)
{
    return reason.isEmpty() ? text + QLatin1Char('.')
                            : text + QStringLiteral(" (") + reason + QStringLiteral(").");
}

} // namespace

CommandInterpreter::CommandInterpreter(Hub& hub) : m_hub(hub) {}

CommandInterpreter::Handler CommandInterpreter::handlerFor(const QString& word)
{
    static const QHash<QString, Handler> table = {
        {QStringLiteral("/join"), &CommandInterpreter::join},
        {QStringLiteral("/j"), &CommandInterpreter::join},
        {QStringLiteral("/w"), &CommandInterpreter::whisper},
        {QStringLiteral("/whisper"), &CommandInterpreter::whisper},
        {QStringLiteral("/m"), &CommandInterpreter::whisper},
        {QStringLiteral("/msg"), &CommandInterpreter::whisper},
        {QStringLiteral("/f"), &CommandInterpreter::friends},
        {QStringLiteral("/friends"), &CommandInterpreter::friends},
        {QStringLiteral("/me"), &CommandInterpreter::emote},
        {QStringLiteral("/emote"), &CommandInterpreter::emote},
        {QStringLiteral("/away"), &CommandInterpreter::away},
        {QStringLiteral("/dnd"), &CommandInterpreter::dnd},
        {QStringLiteral("/users"), &CommandInterpreter::users},
        {QStringLiteral("/whois"), &CommandInterpreter::whois},
        {QStringLiteral("/where"), &CommandInterpreter::whois},
        {QStringLiteral("/kick"), &CommandInterpreter::kick},
        {QStringLiteral("/ban"), &CommandInterpreter::ban},
        {QStringLiteral("/unban"), &CommandInterpreter::unban},
        {QStringLiteral("/kill"), &CommandInterpreter::kill},
        {QStringLiteral("/voice"), &CommandInterpreter::voice},
        {QStringLiteral("/devoice"), &CommandInterpreter::devoice},
        {QStringLiteral("/squelch"), &CommandInterpreter::squelch},
        {QStringLiteral("/ignore"), &CommandInterpreter::squelch},
        {QStringLiteral("/unsquelch"), &CommandInterpreter::unsquelch},
        {QStringLiteral("/unignore"), &CommandInterpreter::unsquelch},
        {QStringLiteral("/rejoin"), &CommandInterpreter::rejoin},
        {QStringLiteral("/time"), &CommandInterpreter::time},
        {QStringLiteral("/tag"), &CommandInterpreter::tag},
        {QStringLiteral("/chs"), &CommandInterpreter::channels},
        {QStringLiteral("/channels"), &CommandInterpreter::channels},
        {QStringLiteral("/lusers"), &CommandInterpreter::bannedUsers},
        {QStringLiteral("/games"), &CommandInterpreter::games},
        {QStringLiteral("/con"), &CommandInterpreter::connections},
        {QStringLiteral("/moderate"), &CommandInterpreter::moderate},
        {QStringLiteral("/broadcast"), &CommandInterpreter::broadcast},
        {QStringLiteral("/help"), &CommandInterpreter::help},
        {QStringLiteral("/?"), &CommandInterpreter::help},
    };
    return table.value(word, nullptr);
}

void CommandInterpreter::run(Member* from, const QString& line)
{
    if (line.trimmed().isEmpty())
        return;
    if (!line.startsWith(QLatin1Char('/'))) {
        m_hub.talk(from, line);
        return;
    }
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    const QString word = AsciiCase::toLower(blank < 0 ? line : line.left(blank));
    const QString args = blank < 0 ? QString() : line.mid(blank + 1);
    const Handler handler = handlerFor(word);
    if (!handler) {
        from->deliver(Protocol::error(QStringLiteral("Comando desconhecido: %1").arg(word)));
        return;
    }
    (this->*handler)(from, args);
}

bool CommandInterpreter::requireOperator(Member* from)
{
    if (from->isOperator())
        return true;
    from->deliver(
        Protocol::error(QStringLiteral("Você não tem permissão para usar esse comando.")));
    return false;
}

Member* CommandInterpreter::targetInChannel(Member* from, const QString& name)
{
    Member* target = m_hub.find(name);
    if (!target || !from->channel() || target->channel() != from->channel()) {
        from->deliver(Protocol::error(QStringLiteral("%1 não está neste canal.").arg(name)));
        return nullptr;
    }
    return target;
}

bool CommandInterpreter::mayModerate(Member* from, Member* target, const QString& action)
{
    if (target == from) {
        from->deliver(Protocol::error(QStringLiteral("Você não pode %1 a si mesmo.").arg(action)));
        return false;
    }
    // Only administrators act on other privileged accounts.
    if (target->isOperator() && from->privilege() != Member::AdminFlag) {
        from->deliver(
            Protocol::error(QStringLiteral("Você não pode %1 %2.").arg(action, target->name())));
        return false;
    }
    return true;
}

void CommandInterpreter::removeFromChannel(Member* target)
{
    // A simulated account simply goes offline; its schedule brings it back later.
    if (target->isSimulated())
        m_hub.removeMember(target);
    else
        m_hub.enterVoid(target);
}

void CommandInterpreter::usage(Member* from, const QString& syntax)
{
    from->deliver(Protocol::error(QStringLiteral("Uso: ") + syntax));
}

void CommandInterpreter::join(Member* from, const QString& args)
{
    const QString name = args.trimmed();
    if (name.isEmpty()) {
        usage(from, QStringLiteral("/join <canal>"));
        return;
    }
    m_hub.join(from, name);
}

void CommandInterpreter::whisper(Member* from, const QString& args)
{
    const Split split = splitFirst(args);
    if (split.first.isEmpty() || split.rest.isEmpty()) {
        usage(from, QStringLiteral("/w <usuário> <mensagem>"));
        return;
    }
    m_hub.whisper(from, split.first, split.rest);
}

void CommandInterpreter::friends(Member* from, const QString& args)
{
    const Split split = splitFirst(args);
    const QString action = AsciiCase::toLower(split.first);
    if (action == QLatin1String("m") || action == QLatin1String("msg") ||
        action == QLatin1String("w")) {
        if (split.rest.isEmpty())
            usage(from, QStringLiteral("/f m <mensagem>"));
        else
            m_hub.whisperFriends(from, split.rest);
        return;
    }
    const QString name = split.rest.trimmed();
    if ((action == QLatin1String("a") || action == QLatin1String("add")) && !name.isEmpty()) {
        if (name.contains(QLatin1Char(' ')) || name.compare(from->name(), Qt::CaseInsensitive) == 0)
            from->deliver(Protocol::error(QStringLiteral("Nome de amigo inválido.")));
        else if (from->addFriend(name))
            from->deliver(Protocol::info(QStringLiteral("%1 agora é seu amigo.").arg(name)));
        else
            from->deliver(Protocol::error(
                QStringLiteral("%1 já é seu amigo ou a lista está cheia.").arg(name)));
        return;
    }
    if ((action == QLatin1String("r") || action == QLatin1String("rem") ||
         action == QLatin1String("remove")) &&
        !name.isEmpty()) {
        if (from->removeFriend(name))
            from->deliver(Protocol::info(QStringLiteral("%1 não é mais seu amigo.").arg(name)));
        else
            from->deliver(Protocol::error(QStringLiteral("%1 não é seu amigo.").arg(name)));
        return;
    }
    if (action == QLatin1String("l") || action == QLatin1String("list")) {
        if (from->friends().isEmpty()) {
            from->deliver(Protocol::info(QStringLiteral("Sua lista de amigos está vazia.")));
            return;
        }
        int index = 0;
        for (const QString& name : from->friends()) {
            Member* online = m_hub.find(name);
            const QString where = online && online->channel()
                                      ? QStringLiteral("no canal %1").arg(online->channel()->name())
                                      : QStringLiteral("desconectado");
            from->deliver(
                Protocol::info(QStringLiteral("%1: %2, %3").arg(++index).arg(name, where)));
        }
        return;
    }
    usage(from, QStringLiteral("/f m <mensagem> | /f add <usuário> | /f rem <usuário> | /f list"));
}

void CommandInterpreter::emote(Member* from, const QString& args)
{
    if (args.trimmed().isEmpty()) {
        usage(from, QStringLiteral("/me <ação>"));
        return;
    }
    m_hub.emote(from, args);
}

void CommandInterpreter::away(Member* from, const QString& args)
{
    const QString text = args.trimmed();
    if (text.isEmpty() && !from->awayMessage().isEmpty()) {
        from->setAwayMessage(QString());
        from->deliver(Protocol::info(QStringLiteral("Você não está mais ausente.")));
        return;
    }
    from->setAwayMessage(text.isEmpty() ? QStringLiteral("Não estou aqui agora.") : text);
    from->deliver(Protocol::info(QStringLiteral("Você está ausente: %1").arg(from->awayMessage())));
}

void CommandInterpreter::dnd(Member* from, const QString& args)
{
    const QString text = args.trimmed();
    if (text.isEmpty() && !from->dndMessage().isEmpty()) {
        from->setDndMessage(QString());
        from->deliver(Protocol::info(QStringLiteral("Você pode ser incomodado de novo.")));
        return;
    }
    from->setDndMessage(text.isEmpty() ? QStringLiteral("Não quero ser incomodado.") : text);
    from->deliver(
        Protocol::info(QStringLiteral("Você não quer ser incomodado: %1").arg(from->dndMessage())));
}

void CommandInterpreter::users(Member* from, const QString&)
{
    int channels = 0;
    for (Channel* channel : m_hub.channels()) {
        if (channel->size() > 0)
            ++channels;
    }
    from->deliver(Protocol::info(QStringLiteral("Há %1 usuários conectados em %2 canais.")
                                     .arg(m_hub.members().size())
                                     .arg(channels)));
}

void CommandInterpreter::whois(Member* from, const QString& args)
{
    const QString name = splitFirst(args).first;
    if (name.isEmpty()) {
        usage(from, QStringLiteral("/whois <usuário>"));
        return;
    }
    Member* target = m_hub.find(name);
    if (!target) {
        from->deliver(Protocol::error(QStringLiteral("Usuário desconhecido.")));
        return;
    }
    const QString where = target->channel() ? target->channel()->name() : QStringLiteral("-");
    from->deliver(Protocol::info(QStringLiteral("%1 está usando %2 no canal \"%3\".")
                                     .arg(target->name(), target->tag(), where)));
    if (!target->awayMessage().isEmpty())
        from->deliver(Protocol::info(
            QStringLiteral("%1 está ausente: %2").arg(target->name(), target->awayMessage())));
    if (!target->dndMessage().isEmpty())
        from->deliver(Protocol::info(QStringLiteral("%1 não quer ser incomodado: %2")
                                         .arg(target->name(), target->dndMessage())));
}

void CommandInterpreter::kick(Member* from, const QString& args)
{
    if (!requireOperator(from))
        return;
    const Split split = splitFirst(args);
    if (split.first.isEmpty()) {
        usage(from, QStringLiteral("/kick <usuário> [motivo]"));
        return;
    }
    Member* target = targetInChannel(from, split.first);
    if (!target || !mayModerate(from, target, QStringLiteral("expulsar")))
        return;
    m_hub.infoToChannel(
        from->channel(),
        withReason(QStringLiteral("%1 foi expulso por %2").arg(target->name(), from->name()),
                   split.rest));
    removeFromChannel(target);
}

void CommandInterpreter::ban(Member* from, const QString& args)
{
    if (!requireOperator(from))
        return;
    const Split split = splitFirst(args);
    Channel* channel = from->channel();
    if (split.first.isEmpty() || !channel) {
        usage(from, QStringLiteral("/ban <usuário> [motivo]"));
        return;
    }
    Member* target = m_hub.find(split.first);
    if (target && !mayModerate(from, target, QStringLiteral("banir")))
        return;
    const QString name = target ? target->name() : split.first;
    if (!channel->ban(name)) {
        from->deliver(Protocol::error(QStringLiteral("A lista de banidos está cheia.")));
        return;
    }
    m_hub.infoToChannel(
        channel,
        withReason(QStringLiteral("%1 foi banido por %2").arg(name, from->name()), split.rest));
    if (target && target->channel() == channel)
        removeFromChannel(target);
}

void CommandInterpreter::unban(Member* from, const QString& args)
{
    if (!requireOperator(from))
        return;
    const QString name = splitFirst(args).first;
    if (name.isEmpty() || !from->channel()) {
        usage(from, QStringLiteral("/unban <usuário>"));
        return;
    }
    if (from->channel()->unban(name))
        m_hub.infoToChannel(from->channel(), QStringLiteral("%1 não está mais banido.").arg(name));
    else
        from->deliver(Protocol::error(QStringLiteral("%1 não está banido.").arg(name)));
}

void CommandInterpreter::kill(Member* from, const QString& args)
{
    if (!requireOperator(from))
        return;
    const Split split = splitFirst(args);
    if (split.first.isEmpty()) {
        usage(from, QStringLiteral("/kill <usuário> [motivo]"));
        return;
    }
    Member* target = m_hub.find(split.first);
    if (!target) {
        from->deliver(Protocol::error(QStringLiteral("Usuário desconhecido.")));
        return;
    }
    if (!mayModerate(from, target, QStringLiteral("desconectar")))
        return;
    const QString text = withReason(
        QStringLiteral("%1 foi desconectado por %2").arg(target->name(), from->name()), split.rest);
    m_hub.infoToChannel(target->channel(), text);
    if (target->channel() != from->channel())
        from->deliver(Protocol::info(text));
    target->terminate(text);
}

void CommandInterpreter::voice(Member* from, const QString& args)
{
    if (!requireOperator(from))
        return;
    const QString name = splitFirst(args).first;
    if (name.isEmpty()) {
        usage(from, QStringLiteral("/voice <usuário>"));
        return;
    }
    Member* target = targetInChannel(from, name);
    if (!target)
        return;
    target->setVoiced(true);
    m_hub.announceFlags(target);
}

void CommandInterpreter::devoice(Member* from, const QString& args)
{
    if (!requireOperator(from))
        return;
    const QString name = splitFirst(args).first;
    if (name.isEmpty()) {
        usage(from, QStringLiteral("/devoice <usuário>"));
        return;
    }
    Member* target = targetInChannel(from, name);
    if (!target)
        return;
    target->setVoiced(false);
    m_hub.announceFlags(target);
}

void CommandInterpreter::squelch(Member* from, const QString& args)
{
    const QString name = splitFirst(args).first;
    if (name.isEmpty()) {
        usage(from, QStringLiteral("/squelch <usuário>"));
        return;
    }
    if (name.compare(from->name(), Qt::CaseInsensitive) == 0) {
        from->deliver(Protocol::error(QStringLiteral("Você não pode silenciar a si mesmo.")));
        return;
    }
    if (!from->squelch(name)) {
        from->deliver(Protocol::error(QStringLiteral("Sua lista de silenciados está cheia.")));
        return;
    }
    Member* target = m_hub.find(name);
    if (target && target->channel() && target->channel() == from->channel())
        from->deliver(Protocol::flagsChanged(target->name(), m_hub.flagsSeenBy(*from, *target)));
    from->deliver(Protocol::info(QStringLiteral("%1 foi silenciado.").arg(name)));
}

void CommandInterpreter::unsquelch(Member* from, const QString& args)
{
    const QString name = splitFirst(args).first;
    if (name.isEmpty()) {
        usage(from, QStringLiteral("/unsquelch <usuário>"));
        return;
    }
    from->unsquelch(name);
    Member* target = m_hub.find(name);
    if (target && target->channel() && target->channel() == from->channel())
        from->deliver(Protocol::flagsChanged(target->name(), m_hub.flagsSeenBy(*from, *target)));
    from->deliver(Protocol::info(QStringLiteral("%1 não está mais silenciado.").arg(name)));
}

void CommandInterpreter::rejoin(Member* from, const QString&)
{
    if (!from->channel()) {
        from->deliver(Protocol::error(QStringLiteral("Você não está em nenhum canal.")));
        return;
    }
    m_hub.rejoin(from);
}

void CommandInterpreter::time(Member* from, const QString&)
{
    const QString now =
        QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    from->deliver(Protocol::info(QStringLiteral("Horário do servidor: %1").arg(now)));
}

void CommandInterpreter::tag(Member* from, const QString& args)
{
    const QString wanted = AsciiCase::toUpper(splitFirst(args).first);
    if (wanted.size() != 4 || !from->channel()) {
        usage(from, QStringLiteral("/tag <TAG>, por exemplo /tag D2XP"));
        return;
    }
    QStringList names;
    for (Member* member : from->channel()->members()) {
        if (member->tag() == wanted)
            names.append(member->name());
    }
    if (names.isEmpty())
        from->deliver(Protocol::info(QStringLiteral("Ninguém usa %1 neste canal.").arg(wanted)));
    else
        from->deliver(Protocol::info(QStringLiteral("Usando %1 neste canal: %2")
                                         .arg(wanted, names.join(QStringLiteral(", ")))));
}

void CommandInterpreter::channels(Member* from, const QString&)
{
    from->deliver(Protocol::info(QStringLiteral("Canais abertos:")));
    int shown = 0;
    int hidden = 0;
    for (Channel* channel : m_hub.channels()) {
        if (channel->size() == 0)
            continue;
        if (shown == MaxListLines) {
            ++hidden;
            continue;
        }
        ++shown;
        from->deliver(
            Protocol::info(QStringLiteral("%1 (%2)").arg(channel->name(), QString::number(channel->size()))));
    }
    if (hidden > 0)
        from->deliver(Protocol::info(QStringLiteral("... e mais %1 canais.").arg(hidden)));
}

void CommandInterpreter::bannedUsers(Member* from, const QString&)
{
    Channel* channel = from->channel();
    if (!channel) {
        from->deliver(Protocol::error(QStringLiteral("Você não está em nenhum canal.")));
        return;
    }
    const QStringList bans = channel->bans();
    if (bans.isEmpty())
        from->deliver(
            Protocol::info(QStringLiteral("Ninguém está banido em %1.").arg(channel->name())));
    else
        from->deliver(Protocol::info(QStringLiteral("Banidos em %1: %2")
                                         .arg(channel->name(), bans.join(QStringLiteral(", ")))));
}

void CommandInterpreter::games(Member* from, const QString& args)
{
    const Split split = splitFirst(args);
    const QString product = AsciiCase::toUpper(split.first);
    const QString level = AsciiCase::toLower(split.rest.trimmed());
    static const QHash<QString, QString> levels = {
        {QString(), QStringLiteral("todas as dificuldades")},
        {QStringLiteral("norm"), QStringLiteral("Normal")},
        {QStringLiteral("night"), QStringLiteral("Pesadelo")},
        {QStringLiteral("hell"), QStringLiteral("Inferno")},
    };
    if (product.isEmpty() || !levels.contains(level)) {
        usage(from, QStringLiteral("/games <produto> [norm|night|hell]"));
        return;
    }
    if (product != QLatin1String("D2XP")) {
        from->deliver(Protocol::info(QStringLiteral("Nenhum jogo de %1 aberto.").arg(product)));
        return;
    }
    struct Game
    {
        const char* name;
        const char* level;
        int players;
    };
    static const Game list[] = {
        {"baal-run-07", "hell", 8},  {"trav-rapido", "hell", 5}, {"cows-br", "night", 6},
        {"ajuda-ato1", "norm", 2},   {"andy-xp", "norm", 3},     {"pit-farm", "hell", 1},
        {"meph-run-22", "night", 4}, {"chaos-br", "hell", 7},
    };
    from->deliver(
        Protocol::info(QStringLiteral("Jogos de D2XP abertos (%1):").arg(levels.value(level))));
    for (const Game& game : list) {
        if (level.isEmpty() || level == QLatin1String(game.level))
            from->deliver(Protocol::info(
                QStringLiteral("%1 (%2/8)").arg(QLatin1String(game.name)).arg(game.players)));
    }
}

void CommandInterpreter::connections(Member* from, const QString& args)
{
    if (!requireOperator(from))
        return;
    const bool all = AsciiCase::toLower(args.trimmed()) == QLatin1String("all");
    QList<Member*> listed;
    if (all)
        listed = m_hub.members();
    else if (from->channel())
        listed = from->channel()->members();
    from->deliver(
        Protocol::info(all ? QStringLiteral("Conexões no servidor: %1").arg(listed.size())
                           : QStringLiteral("Conexões neste canal: %1").arg(listed.size())));
    int shown = 0;
    for (Member* member : listed) {
        if (shown == MaxListLines) {
            from->deliver(
                Protocol::info(QStringLiteral("... e mais %1.").arg(listed.size() - shown)));
            break;
        }
        ++shown;
        from->deliver(Protocol::info(
            QStringLiteral("%1 [%2] %3").arg(member->name(), member->tag(), member->address())));
    }
}

void CommandInterpreter::moderate(Member* from, const QString&)
{
    if (!requireOperator(from))
        return;
    Channel* channel = from->channel();
    if (!channel) {
        from->deliver(Protocol::error(QStringLiteral("Você não está em nenhum canal.")));
        return;
    }
    channel->setModerated(!channel->isModerated());
    m_hub.infoToChannel(channel, channel->isModerated()
                                     ? QStringLiteral("%1 moderou o canal.").arg(from->name())
                                     : QStringLiteral("%1 liberou o canal.").arg(from->name()));
}

void CommandInterpreter::broadcast(Member* from, const QString& args)
{
    if (from->privilege() != Member::AdminFlag) {
        from->deliver(
            Protocol::error(QStringLiteral("Você não tem permissão para usar esse comando.")));
        return;
    }
    if (args.trimmed().isEmpty()) {
        usage(from, QStringLiteral("/broadcast <mensagem>"));
        return;
    }
    m_hub.broadcast(args);
}

void CommandInterpreter::help(Member* from, const QString&)
{
    static const char* const lines[] = {
        "Comandos: /join <canal>, /rejoin, /w <usuário> <mensagem>, /me <ação>,",
        "/f m <mensagem>, /f add|rem <usuário>, /f list, /away [motivo], /dnd [motivo],",
        "/squelch <usuário>, /unsquelch <usuário>, /whois <usuário>, /users, /chs all,",
        "/lusers, /tag <TAG>, /games d2xp [norm|night|hell], /time.",
        "Operadores: /kick, /ban, /unban, /kill <usuário> [motivo], /voice, /devoice <usuário>,",
        "/moderate, /con [all].",
    };
    for (const char* line : lines)
        from->deliver(Protocol::info(QString::fromUtf8(line)));
}

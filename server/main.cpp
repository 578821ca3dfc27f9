#include <cstdio>
#include <cstdlib>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include "ChatServer.h"
#include "Hub.h"
#include "ServerOptions.h"

namespace {

// An option naming accounts may be given more than once, each time with a comma list.
QStringList nameList(const QStringList& values)
{
    QStringList names;
    for (const QString& value : values) {
        for (const QString& name : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            if (!name.trimmed().isEmpty())
                names.append(name.trimmed());
        }
    }
    return names;
}

[[noreturn]] void fail(const QString& message)
{
    std::fprintf(stderr, "tulmo-server: %s\n", qPrintable(message));
    std::exit(2);
}

int number(const QCommandLineParser& parser, const QString& option, int low, int high)
{
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < low || value > high)
        fail(QStringLiteral("--%1 expects a number from %2 to %3").arg(option).arg(low).arg(high));
    return value;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tulmo-server"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Trial chat server for Tulmo Chat: a text line chat gateway on TCP."));
    parser.addHelpOption();
    const QString port = QStringLiteral("port");
    const QString host = QStringLiteral("host");
    const QString ops = QStringLiteral("ops");
    const QString mods = QStringLiteral("mods");
    const QString admins = QStringLiteral("admins");
    const QString noBots = QStringLiteral("no-bots");
    const QString channelLimit = QStringLiteral("channel-limit");
    const QString channel = QStringLiteral("channel");
    const QString botSeconds = QStringLiteral("bot-seconds");
    const QString maxClients = QStringLiteral("max-clients");
    const QString maxAnonymous = QStringLiteral("max-anonymous");
    const QString maxAnonymousPerAddress = QStringLiteral("max-anonymous-per-address");
    const QString loginSeconds = QStringLiteral("login-seconds");
    const QString noFloodLimit = QStringLiteral("no-flood-limit");
    const QString floodBurst = QStringLiteral("flood-burst");
    const QString floodMs = QStringLiteral("flood-ms");
    const ServerOptions defaults;
    parser.addOptions({
        {port, QStringLiteral("TCP port (default 6112); 0 picks a free one and prints it."),
         QStringLiteral("N"), QStringLiteral("6112")},
        {host, QStringLiteral("Address to listen on (default 127.0.0.1)."),
         QStringLiteral("address"), QStringLiteral("127.0.0.1")},
        {ops, QStringLiteral("Accounts that get operator flags (0008) at login; may be repeated."),
         QStringLiteral("a,b")},
        {mods,
         QStringLiteral("Accounts that get moderator flags (0002) at login; may be repeated."),
         QStringLiteral("a,b")},
        {admins,
         QStringLiteral("Accounts that get administrator flags (0001) at login; may be repeated."),
         QStringLiteral("a,b")},
        {noBots, QStringLiteral("No simulated accounts.")},
        {channelLimit, QStringLiteral("Most accounts in one channel (0 = no limit)."),
         QStringLiteral("N"), QStringLiteral("0")},
        {channel, QStringLiteral("Home channel (default Chat)."), QStringLiteral("name"),
         QStringLiteral("Chat")},
        {botSeconds,
         QStringLiteral("Seconds between actions of the simulated accounts (default 12)."),
         QStringLiteral("N"), QStringLiteral("12")},
        {maxClients,
         QStringLiteral("Most logged-in clients at once (default %1).").arg(defaults.maxClients),
         QStringLiteral("N"), QString::number(defaults.maxClients)},
        {maxAnonymous,
         QStringLiteral("Most connections not logged in yet at once (default %1).")
             .arg(defaults.maxAnonymous),
         QStringLiteral("N"), QString::number(defaults.maxAnonymous)},
        {maxAnonymousPerAddress,
         QStringLiteral("Most connections not logged in yet from one address (default %1); "
                        "logged-in clients are not limited per address.")
             .arg(defaults.maxAnonymousPerAddress),
         QStringLiteral("N"), QString::number(defaults.maxAnonymousPerAddress)},
        {loginSeconds,
         QStringLiteral("Seconds a connection has to log in (default %1).")
             .arg(defaults.loginTimeoutMs / 1000),
         QStringLiteral("N"), QString::number(defaults.loginTimeoutMs / 1000)},
        {noFloodLimit, QStringLiteral("No flood limit on the lines a client sends.")},
        {floodBurst,
         QStringLiteral("Flood limit: lines a client may send at once after a pause (default %1).")
             .arg(defaults.floodBurst),
         QStringLiteral("N"), QString::number(defaults.floodBurst)},
        {floodMs,
         QStringLiteral("Flood limit: then one line per this many milliseconds (default %1); "
                        "lines beyond are dropped, and a client that keeps on at ten times "
                        "the pace is disconnected.")
             .arg(defaults.floodIntervalMs),
         QStringLiteral("N"), QString::number(defaults.floodIntervalMs)},
    });
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        fail(QStringLiteral("unexpected argument %1").arg(parser.positionalArguments().first()));

    ServerOptions options;
    options.port = quint16(number(parser, port, 0, 65535));
    if (!options.address.setAddress(parser.value(host)))
        fail(QStringLiteral("--host expects an IP address"));
    options.operators = nameList(parser.values(ops));
    options.moderators = nameList(parser.values(mods));
    options.admins = nameList(parser.values(admins));
    options.simulatedUsers = !parser.isSet(noBots);
    options.channelLimit = number(parser, channelLimit, 0, 100000);
    options.homeChannel = parser.value(channel).trimmed();
    if (!Hub::isPossibleChannelName(options.homeChannel) ||
        Hub::isOperatorChannelName(options.homeChannel))
        fail(QStringLiteral("--channel expects a channel name anyone may enter"));
    options.botIntervalMs = number(parser, botSeconds, 1, 3600) * 1000;
    options.maxClients = number(parser, maxClients, 1, 100000);
    options.maxAnonymous = number(parser, maxAnonymous, 1, 100000);
    options.maxAnonymousPerAddress = number(parser, maxAnonymousPerAddress, 1, 100000);
    options.loginTimeoutMs = number(parser, loginSeconds, 1, 3600) * 1000;
    options.floodLimit = !parser.isSet(noFloodLimit);
    options.floodBurst = number(parser, floodBurst, 1, 10000);
    options.floodIntervalMs = number(parser, floodMs, 1, 3600000);

    ChatServer server(options);
    if (!server.listen())
        fail(QStringLiteral("cannot listen on %1:%2: %3")
                 .arg(options.address.toString())
                 .arg(options.port)
                 .arg(server.errorString()));
    std::printf("listening on %s:%u\n", qPrintable(options.address.toString()),
                unsigned(server.port()));
    std::fflush(stdout);
    return app.exec();
}

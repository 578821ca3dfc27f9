#include <QTest>

#include <limits>

#include "net/LoginConfirmation.h"

namespace {
using Step = LoginConfirmation::Step;
using State = LoginConfirmation::State;

QString stepName(Step step)
{
    switch (step) {
    case Step::Process:
        return QStringLiteral("process");
    case Step::ShowAsInfo:
        return QStringLiteral("info");
    case Step::Refuse:
        return QStringLiteral("refuse");
    case Step::Confirm:
        return QStringLiteral("confirm");
    }
    return QString();
}

QString stateName(State state)
{
    switch (state) {
    case State::Idle:
        return QStringLiteral("idle");
    case State::Pending:
        return QStringLiteral("pending");
    case State::Confirmed:
        return QStringLiteral("confirmed");
    case State::Refused:
        return QStringLiteral("refused");
    }
    return QString();
}
} // namespace

class TestLoginConfirmation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lines_data();
    void lines();
    void waitMs_data();
    void waitMs();
};

void TestLoginConfirmation::lines_data()
{
    QTest::addColumn<bool>("started");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("state");

    // clang-format off
    QTest::newRow("the account named") << true << QStringList{"2010 NAME bob"} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("a server that names nobody") << true << QStringList{"1007 CHANNEL \"Chat\""} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("null event confirms nothing") << true << QStringList{"2000 NULL", "2010 NAME bob"} << QStringList{"process", "confirm"} << "confirmed";
    QTest::newRow("unlisted code is text") << true << QStringList{"1016 ALGO"} << QStringList{"info"} << "pending";
    QTest::newRow("code of no event is text") << true << QStringList{"1008 x", "1011 x", "1012 x", "1016 x", "1017 x", "1020 x", "1022 x", "1024 x", "2001 x", "2009 x", "2011 x", "9999 x"} << QStringList{"info", "info", "info", "info", "info", "info", "info", "info", "info", "info", "info", "info"} << "pending";
    QTest::newRow("code alone") << true << QStringList{"1018"} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("error code alone refuses") << true << QStringList{"1019"} << QStringList{"refuse"} << "refused";
    QTest::newRow("date at the start of a refusal") << true << QStringList{"2026-12-11 Login failed: wrong password"} << QStringList{"info"} << "pending";
    QTest::newRow("event code glued to text") << true << QStringList{"1005TALK bob 0010 \"oi\"", "2010NAME bob", "1019x"} << QStringList{"info", "info", "info"} << "pending";
    QTest::newRow("event code before a tab") << true << QStringList{"2010\tNAME bob"} << QStringList{"info"} << "pending";
    QTest::newRow("1001") << true << QStringList{"1001 USER a 0010 [CHAT]"} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1002") << true << QStringList{"1002 JOIN a 0010 [CHAT]"} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1003") << true << QStringList{"1003 LEAVE a 0010"} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1004") << true << QStringList{"1004 WHISPER a 0010 \"x\""} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1005") << true << QStringList{"1005 TALK a 0010 \"x\""} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1006") << true << QStringList{"1006 BROADCAST \"x\""} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1009") << true << QStringList{"1009 USER a 0002"} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1010") << true << QStringList{"1010 WHISPER a 0010 \"x\""} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1013") << true << QStringList{"1013 CHANNELFULL \"x\""} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1014") << true << QStringList{"1014 CHANNELDOESNOTEXIST \"x\""} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1015") << true << QStringList{"1015 CHANNELRESTRICTED \"x\""} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1018") << true << QStringList{"1018 INFO \"x\""} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("1023") << true << QStringList{"1023 EMOTE a 0010 \"x\""} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("error event refuses") << true << QStringList{"1019 ERROR \"Login inválido.\""} << QStringList{"refuse"} << "refused";
    QTest::newRow("failed, asked again, refused") << true << QStringList{"Login failed.", "Username: ", "1019 ERROR \"x\""} << QStringList{"info", "info", "refuse"} << "refused";
    QTest::newRow("text, then the account named") << true << QStringList{"Bem-vindo!", "2010 NAME bob"} << QStringList{"info", "confirm"} << "confirmed";
    QTest::newRow("text after the confirmation") << true << QStringList{"2010 NAME bob", "Login failed.", "1019 ERROR \"x\""} << QStringList{"confirm", "process", "process"} << "confirmed";
    QTest::newRow("short number") << true << QStringList{"12"} << QStringList{"info"} << "pending";
    QTest::newRow("blank before the code") << true << QStringList{" 1007 CHANNEL \"Chat\""} << QStringList{"info"} << "pending";
    QTest::newRow("sign before the code") << true << QStringList{"+100 x"} << QStringList{"info"} << "pending";
    QTest::newRow("letter in the code") << true << QStringList{"10a7 x"} << QStringList{"info"} << "pending";
    QTest::newRow("zero is no code") << true << QStringList{"0000 x"} << QStringList{"info"} << "pending";
    QTest::newRow("digits of another script") << true << QStringList{QString::fromUtf8("١٠٠٧ CHANNEL")} << QStringList{"info"} << "pending";
    QTest::newRow("no login under way") << false << QStringList{"Login failed.", "1019 ERROR \"x\"", "2010 NAME bob"} << QStringList{"process", "process", "process"} << "idle";
    // clang-format on
}

void TestLoginConfirmation::lines()
{
    QFETCH(bool, started);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, steps);
    QFETCH(QString, state);
    LoginConfirmation login;
    if (started)
        login.start();
    QStringList seen;
    for (const QString& line : lines)
        seen << stepName(login.take(line));
    QCOMPARE(seen, steps);
    QCOMPARE(stateName(login.state()), state);
}

void TestLoginConfirmation::waitMs_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("ms");
    constexpr int Max = std::numeric_limits<int>::max();
    constexpr int Min = std::numeric_limits<int>::min();
    // clang-format off
    QTest::newRow("the default") << 15 << 15000;
    QTest::newRow("the minimum") << 5 << 5000;
    QTest::newRow("below the minimum") << 4 << 5000;
    QTest::newRow("zero") << 0 << 5000;
    QTest::newRow("negative") << -1 << 5000;
    QTest::newRow("most negative") << Min << 5000;
    QTest::newRow("longest a timer counts") << Max / 1000 << Max / 1000 * 1000;
    QTest::newRow("one second more") << Max / 1000 + 1 << Max;
    QTest::newRow("largest") << Max << Max;
    // clang-format on
}

void TestLoginConfirmation::waitMs()
{
    QFETCH(int, seconds);
    QFETCH(int, ms);
    QCOMPARE(LoginConfirmation::waitMs(seconds), ms);
}

QTEST_GUILESS_MAIN(TestLoginConfirmation)
#include "tst_loginconfirmation.moc"

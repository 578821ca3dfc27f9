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
    case Step::ShowAsError:
        return QStringLiteral("error");
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
    QTest::newRow("null event") << true << QStringList{"2000 NULL"} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("unlisted code") << true << QStringList{"1016 ALGO"} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("code alone") << true << QStringList{"1018"} << QStringList{"confirm"} << "confirmed";
    QTest::newRow("error event refuses") << true << QStringList{"1019 ERROR \"Login inválido.\""} << QStringList{"refuse"} << "refused";
    QTest::newRow("failed, asked again, refused") << true << QStringList{"Login failed.", "Username: ", "1019 ERROR \"x\""} << QStringList{"error", "error", "refuse"} << "refused";
    QTest::newRow("text, then the account named") << true << QStringList{"Bem-vindo!", "2010 NAME bob"} << QStringList{"error", "confirm"} << "confirmed";
    QTest::newRow("text after the confirmation") << true << QStringList{"2010 NAME bob", "Login failed.", "1019 ERROR \"x\""} << QStringList{"confirm", "process", "process"} << "confirmed";
    QTest::newRow("short number") << true << QStringList{"12"} << QStringList{"error"} << "pending";
    QTest::newRow("blank before the code") << true << QStringList{" 1007 CHANNEL \"Chat\""} << QStringList{"error"} << "pending";
    QTest::newRow("sign before the code") << true << QStringList{"+100 x"} << QStringList{"error"} << "pending";
    QTest::newRow("letter in the code") << true << QStringList{"10a7 x"} << QStringList{"error"} << "pending";
    QTest::newRow("zero is no code") << true << QStringList{"0000 x"} << QStringList{"error"} << "pending";
    QTest::newRow("digits of another script") << true << QStringList{QString::fromUtf8("١٠٠٧ CHANNEL")} << QStringList{"error"} << "pending";
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

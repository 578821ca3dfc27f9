#include "settings/SettingKeys.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(SettingKey<int>)
Q_DECLARE_METATYPE(SettingKey<QString>)

class TestSettingKeys : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir* m_dir = nullptr;

    QString iniPath() const { return m_dir->filePath(QStringLiteral("confs.ini")); }

    QByteArray contents() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        delete m_dir;
        m_dir = nullptr;
    }

    // The colours the user knows as web colours (#RRGGBB) are stored with red in the low byte.
    void colourDefaultsAreBlueGreenRed_data()
    {
        QTest::addColumn<SettingKey<int>>("key");
        QTest::addColumn<QString>("rgb");

        using namespace Keys::Aparencia;
        // clang-format off
        QTest::newRow("CorFundo") << CorFundo << "#000000";
        QTest::newRow("CorFundoChat") << CorFundoChat << "#000000";
        QTest::newRow("CorFundoWhisp") << CorFundoWhisp << "#000000";
        QTest::newRow("CorMOD") << CorMOD << "#808080";
        QTest::newRow("CorADM") << CorADM << "#0080FF";
        QTest::newRow("CorOP") << CorOP << "#77BBFF";
        QTest::newRow("CorVOICE") << CorVOICE << "#FF8000";
        QTest::newRow("CorUSER") << CorUSER << "#FFFFFF";
        QTest::newRow("CorAcc") << CorAcc << "#A0A050";
        QTest::newRow("CorHora") << CorHora << "#D5D500";
        QTest::newRow("CorInfo") << CorInfo << "#00FF00";
        QTest::newRow("CorEmote") << CorEmote << "#FF00FF";
        QTest::newRow("CorWTo") << CorWTo << "#FFFF00";
        QTest::newRow("CorWFrom") << CorWFrom << "#00FF00";
        QTest::newRow("CorWToMsg") << CorWToMsg << "#808080";
        QTest::newRow("CorWFromMsg") << CorWFromMsg << "#FFFFFF";
        QTest::newRow("CorMsg") << CorMsg << "#FFFFFF";
        QTest::newRow("CorMencao") << CorMencao << "#00FFFF";
        // clang-format on
    }
    void colourDefaultsAreBlueGreenRed()
    {
        QFETCH(SettingKey<int>, key);
        QFETCH(QString, rgb);
        const int r = rgb.mid(1, 2).toInt(nullptr, 16);
        const int g = rgb.mid(3, 2).toInt(nullptr, 16);
        const int b = rgb.mid(5, 2).toInt(nullptr, 16);
        QCOMPARE(key.section, QStringLiteral("Aparencia"));
        QCOMPARE(key.key, QString::fromLatin1(QTest::currentDataTag()));
        const TIniFile ini(iniPath());
        QCOMPARE(Settings::read(ini, key), (b << 16) | (g << 8) | r);
    }

    void numberedKeyNames_data()
    {
        QTest::addColumn<SettingKey<QString>>("key");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("name");

        // clang-format off
        QTest::newRow("phrase") << Keys::Respostas::F(3) << "Respostas" << "F3";
        QTest::newRow("reply 3 of entry 12") << Keys::Respostas::RF(12, 3) << "Respostas" << "RF123";
        QTest::newRow("whisper") << Keys::Respostas::W(10) << "Respostas" << "W10";
        QTest::newRow("whisper reply") << Keys::Respostas::RW(1, 2) << "Respostas" << "RW12";
        QTest::newRow("timer") << Keys::Timers::STimer(7) << "Timers" << "STimer7";
        QTest::newRow("favourite") << Keys::Canais::c(10) << "Canais" << "c10";
        QTest::newRow("account") << Keys::Lista::Acc(2) << "Lista" << "Acc2";
        QTest::newRow("reason") << Keys::Lista::Mot(2) << "Lista" << "Mot2";
        QTest::newRow("shortcut") << Keys::Atalhos::Atalho(QLatin1Char('Q')) << "Atalhos" << "AtalhoQ";
        QTest::newRow("shortcut of a lower-case letter") << Keys::Atalhos::Atalho(QLatin1Char('q')) << "Atalhos" << "AtalhoQ";
        // clang-format on
    }
    void numberedKeyNames()
    {
        QFETCH(SettingKey<QString>, key);
        QFETCH(QString, section);
        QFETCH(QString, name);
        QCOMPARE(key.section, section);
        QCOMPARE(key.key, name);
        QVERIFY(key.def.isEmpty());
    }

    void countsOfRepliesDefaultToOne()
    {
        const TIniFile ini(iniPath());
        QCOMPARE(Keys::Respostas::nRFn(12).key, QStringLiteral("nRF12"));
        QCOMPARE(Keys::Respostas::nRWn(4).key, QStringLiteral("nRW4"));
        QCOMPARE(Settings::read(ini, Keys::Respostas::nRFn(12)), 1);
        QCOMPARE(Keys::Atalhos::AtalhoSend(QLatin1Char('b')).key, QStringLiteral("AtalhoBSend"));
        QCOMPARE(Settings::read(ini, Keys::Atalhos::AtalhoSend(QLatin1Char('B'))), false);
    }

    void oneKeyReadWithTwoDefaults_data()
    {
        QTest::addColumn<SettingKey<QString>>("asText");
        QTest::addColumn<QString>("textDefault");

        // clang-format off
        QTest::newRow("home channel") << Keys::Geral::CanalPrincipalShown << "Tulmo Diablo II BRA-1";
        QTest::newRow("time-out") << Keys::Geral::TimeoutShown << "15";
        QTest::newRow("timer period") << Keys::Timers::STempoShown << "0";
        QTest::newRow("favourites count") << Keys::Canais::nText << "1";
        // clang-format on
    }
    void oneKeyReadWithTwoDefaults()
    {
        QFETCH(SettingKey<QString>, asText);
        QFETCH(QString, textDefault);
        TIniFile ini(iniPath());
        QCOMPARE(Settings::read(ini, asText), textDefault);
        ini.WriteString(asText.section, asText.key, QStringLiteral("42"));
        QCOMPARE(Settings::read(ini, asText), QStringLiteral("42"));
    }

    void twoReadersOfTheSameKey()
    {
        TIniFile ini(iniPath());
        QCOMPARE(Settings::read(ini, Keys::Geral::CanalPrincipal), QStringLiteral("Chat"));
        QCOMPARE(Settings::read(ini, Keys::Geral::Timeout), 15);
        QCOMPARE(Settings::read(ini, Keys::Canais::n), 0);
        QCOMPARE(Settings::read(ini, Keys::Canais::nDialog), 1);
        QCOMPARE(Settings::read(ini, Keys::Respostas::nRF), 0);
        QCOMPARE(Settings::read(ini, Keys::Respostas::nRFOnDelete), 1);
        Settings::write(ini, Keys::Geral::CanalPrincipalShown, QStringLiteral("Op Tulmo"));
        Settings::write(ini, Keys::Timers::STempoShown, QStringLiteral("$78"));
        Settings::write(ini, Keys::Canais::nDialog, 3);
        QCOMPARE(Settings::read(ini, Keys::Geral::CanalPrincipal), QStringLiteral("Op Tulmo"));
        QCOMPARE(Settings::read(ini, Keys::Timers::STempo), 120);
        QCOMPARE(Settings::read(ini, Keys::Canais::n), 3);
        QCOMPARE(Settings::read(ini, Keys::Canais::nText), QStringLiteral("3"));
    }

    void backgroundPictureDefaultAndRemoval()
    {
        TIniFile ini(iniPath());
        const SettingKey<QString> key = Keys::Aparencia::ImgFundoChat(QStringLiteral("/opt/t/"));
        QCOMPARE(Settings::read(ini, key), QStringLiteral("/opt/t/bg.bmp"));
        Settings::write(ini, key, QString());
        QCOMPARE(Settings::read(ini, key), QString());
        QVERIFY(Settings::exists(ini, key));
        Settings::remove(ini, key);
        QVERIFY(!Settings::exists(ini, key));
        QCOMPARE(Settings::read(ini, key), QStringLiteral("/opt/t/bg.bmp"));
    }

    void typedWritesUseTheStoredForms()
    {
        TIniFile ini(iniPath());
        Settings::write(ini, Keys::Form::Max, true);
        Settings::write(ini, Keys::Form::Width, 1024);
        Settings::write(ini, Keys::Geral::Login, QStringLiteral("joão"));
        Settings::write(ini, Keys::Form::X, -8);
        QCOMPARE(contents(), QByteArray("[Form]\r\nMax=1\r\nWidth=1024\r\nX=-8\r\n"
                                        "[Geral]\r\nLogin=jo\xe3o\r\n"));
        QCOMPARE(Settings::read(ini, Keys::Form::Max), true);
        QCOMPARE(Settings::read(ini, Keys::Form::Y), 250);
        QCOMPARE(Settings::read(ini, Keys::Geral::Login), QStringLiteral("joão"));
    }
};

QTEST_GUILESS_MAIN(TestSettingKeys)
#include "tst_settingkeys.moc"

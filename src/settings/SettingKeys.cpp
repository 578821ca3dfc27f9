#include "SettingKeys.h"

namespace {

const QString GeralSection = QStringLiteral("Geral");
const QString AparenciaSection = QStringLiteral("Aparencia");
const QString FormSection = QStringLiteral("Form");
const QString RespostasSection = QStringLiteral("Respostas");
const QString TimersSection = QStringLiteral("Timers");
const QString AtalhosSection = QStringLiteral("Atalhos");
const QString CanaisSection = QStringLiteral("Canais");
const QString ListaSection = QStringLiteral("Lista");

QString numbered(const char* prefix, int n)
{
    return QLatin1String(prefix) + QString::number(n);
}

// Reply k (a single digit) of entry n.
QString reply(const char* prefix, int n, int k)
{
    return numbered(prefix, n) + QString::number(k);
}

QString shortcutKey(QChar letter)
{
    const char16_t c = letter.unicode();
    const QChar upper = (c >= u'a' && c <= u'z') ? QChar(char16_t(c - u'a' + u'A')) : letter;
    return QStringLiteral("Atalho") + upper;
}

} // namespace

namespace Keys {

namespace Geral {
const SettingKey<QString> Login{GeralSection, QStringLiteral("Login"), QString()};
const SettingKey<QString> Senha{GeralSection, QStringLiteral("Senha"), QString()};
const SettingKey<QString> Servidor{GeralSection, QStringLiteral("Servidor"),
                                   QStringLiteral(TULMO_DEFAULT_SERVER)};
const SettingKey<QString> CanalPrincipal{GeralSection, QStringLiteral("CanalPrincipal"),
                                         QStringLiteral("Chat")};
const SettingKey<QString> CanalPrincipalShown{GeralSection, QStringLiteral("CanalPrincipal"),
                                              QStringLiteral("Tulmo Diablo II BRA-1")};
const SettingKey<int> Timeout{GeralSection, QStringLiteral("Timeout"), 15};
const SettingKey<QString> TimeoutShown{GeralSection, QStringLiteral("Timeout"),
                                       QStringLiteral("15")};
const SettingKey<bool> JoinPrinc{GeralSection, QStringLiteral("JoinPrinc"), true};
const SettingKey<bool> Reconectar{GeralSection, QStringLiteral("Reconectar"), true};
const SettingKey<QString> User2x{GeralSection, QStringLiteral("User2x"), QString()};
const SettingKey<bool> Tray{GeralSection, QStringLiteral("Tray"), false};
const SettingKey<QString> AtalhoMin{GeralSection, QStringLiteral("AtalhoMin"), QString()};
const SettingKey<bool> Ortografia{GeralSection, QStringLiteral("Ortografia"), true};
const SettingKey<QString> CaminhoSS{GeralSection, QStringLiteral("CaminhoSS"), QString()};
const SettingKey<bool> SalvarSS{GeralSection, QStringLiteral("SalvarSS"), false};
const SettingKey<QString> CaminhoD2XP{GeralSection, QStringLiteral("CaminhoD2XP"), QString()};
const SettingKey<QString> CaminhoSTAR{GeralSection, QStringLiteral("CaminhoSTAR"), QString()};
const SettingKey<QString> CaminhoWAR3{GeralSection, QStringLiteral("CaminhoWAR3"), QString()};
const SettingKey<QString> D2Param{GeralSection, QStringLiteral("D2Param"), QString()};
const SettingKey<bool> D2Window{GeralSection, QStringLiteral("D2Window"), false};
const SettingKey<bool> D2NoSound{GeralSection, QStringLiteral("D2NoSound"), false};
const SettingKey<bool> D2SkipToLogin{GeralSection, QStringLiteral("D2SkipToLogin"), false};
const SettingKey<QString> Destaques{GeralSection, QStringLiteral("Destaques"), QString()};
const SettingKey<bool> Mencoes{GeralSection, QStringLiteral("Mencoes"), true};
const SettingKey<bool> LogsAuto{GeralSection, QStringLiteral("LogsAuto"), true};
} // namespace Geral

namespace Aparencia {
const SettingKey<int> CorFundo{AparenciaSection, QStringLiteral("CorFundo"), 0};
const SettingKey<int> CorFundoChat{AparenciaSection, QStringLiteral("CorFundoChat"), 0};
const SettingKey<int> CorFundoWhisp{AparenciaSection, QStringLiteral("CorFundoWhisp"), 0};
const SettingKey<QString> FonteChat{AparenciaSection, QStringLiteral("FonteChat"),
                                    QStringLiteral("Verdana")};
const SettingKey<int> TamFonteChat{AparenciaSection, QStringLiteral("TamFonteChat"), 10};
const SettingKey<QString> FonteWhisp{AparenciaSection, QStringLiteral("FonteWhisp"),
                                     QStringLiteral("Tahoma")};
const SettingKey<int> TamFonteWhisp{AparenciaSection, QStringLiteral("TamFonteWhisp"), 10};
const SettingKey<QString> UsersFonte{AparenciaSection, QStringLiteral("UsersFonte"),
                                     QStringLiteral("Verdana")};
const SettingKey<int> UsersFonteTam{AparenciaSection, QStringLiteral("UsersFonteTam"), 9};
const SettingKey<int> CorMOD{AparenciaSection, QStringLiteral("CorMOD"), 8421504};
const SettingKey<int> CorADM{AparenciaSection, QStringLiteral("CorADM"), 16744448};
const SettingKey<int> CorOP{AparenciaSection, QStringLiteral("CorOP"), 16759671};
const SettingKey<int> CorVOICE{AparenciaSection, QStringLiteral("CorVOICE"), 33023};
const SettingKey<int> CorUSER{AparenciaSection, QStringLiteral("CorUSER"), 16777215};
const SettingKey<int> CorAcc{AparenciaSection, QStringLiteral("CorAcc"), 5284000};
const SettingKey<int> CorHora{AparenciaSection, QStringLiteral("CorHora"), 54741};
const SettingKey<int> CorInfo{AparenciaSection, QStringLiteral("CorInfo"), 65280};
const SettingKey<int> CorEmote{AparenciaSection, QStringLiteral("CorEmote"), 16711935};
const SettingKey<int> CorWTo{AparenciaSection, QStringLiteral("CorWTo"), 65535};
const SettingKey<int> CorWFrom{AparenciaSection, QStringLiteral("CorWFrom"), 65280};
const SettingKey<int> CorWToMsg{AparenciaSection, QStringLiteral("CorWToMsg"), 8421504};
const SettingKey<int> CorWFromMsg{AparenciaSection, QStringLiteral("CorWFromMsg"), 16777215};
const SettingKey<int> CorMsg{AparenciaSection, QStringLiteral("CorMsg"), 16777215};
const SettingKey<int> CorMencao{AparenciaSection, QStringLiteral("CorMencao"), 16776960};

SettingKey<QString> ImgFundoChat(const QString& exeFolderWithSlash)
{
    return {AparenciaSection, QStringLiteral("ImgFundoChat"),
            exeFolderWithSlash + QStringLiteral("bg.bmp")};
}

const SettingKey<QString> PosImgFundoChat{AparenciaSection, QStringLiteral("PosImgFundoChat"),
                                          QStringLiteral("centro")};
const SettingKey<bool> HorarioMsg{AparenciaSection, QStringLiteral("HorarioMsg"), true};
const SettingKey<bool> BarraChat{AparenciaSection, QStringLiteral("BarraChat"), true};
const SettingKey<bool> CustomList{AparenciaSection, QStringLiteral("CustomList"), true};
} // namespace Aparencia

namespace Form {
const SettingKey<int> Width{FormSection, QStringLiteral("Width"), 700};
const SettingKey<int> Height{FormSection, QStringLiteral("Height"), 600};
const SettingKey<int> X{FormSection, QStringLiteral("X"), 290};
const SettingKey<int> Y{FormSection, QStringLiteral("Y"), 250};
const SettingKey<bool> Max{FormSection, QStringLiteral("Max"), false};
const SettingKey<int> ULW{FormSection, QStringLiteral("ULW"), 165};
} // namespace Form

namespace Respostas {
const SettingKey<bool> RespFrase{RespostasSection, QStringLiteral("RespFrase"), false};
const SettingKey<bool> RespWhisp{RespostasSection, QStringLiteral("RespWhisp"), false};
const SettingKey<int> nRF{RespostasSection, QStringLiteral("nRF"), 0};
const SettingKey<int> nRFOnDelete{RespostasSection, QStringLiteral("nRF"), 1};
const SettingKey<int> nRW{RespostasSection, QStringLiteral("nRW"), 0};
const SettingKey<int> nRWOnDelete{RespostasSection, QStringLiteral("nRW"), 1};

SettingKey<QString> F(int n)
{
    return {RespostasSection, numbered("F", n), QString()};
}

SettingKey<QString> RF(int n, int k)
{
    return {RespostasSection, reply("RF", n, k), QString()};
}

SettingKey<int> nRFn(int n)
{
    return {RespostasSection, numbered("nRF", n), 1};
}

SettingKey<QString> W(int n)
{
    return {RespostasSection, numbered("W", n), QString()};
}

SettingKey<QString> RW(int n, int k)
{
    return {RespostasSection, reply("RW", n, k), QString()};
}

SettingKey<int> nRWn(int n)
{
    return {RespostasSection, numbered("nRW", n), 1};
}
} // namespace Respostas

namespace Timers {
const SettingKey<bool> TimersOn{TimersSection, QStringLiteral("TimersOn"), false};
const SettingKey<int> STempo{TimersSection, QStringLiteral("STempo"), 0};
const SettingKey<QString> STempoShown{TimersSection, QStringLiteral("STempo"), QStringLiteral("0")};
const SettingKey<int> nTS{TimersSection, QStringLiteral("nTS"), 0};

SettingKey<QString> STimer(int n)
{
    return {TimersSection, numbered("STimer", n), QString()};
}
} // namespace Timers

namespace Atalhos {
SettingKey<QString> Atalho(QChar letter)
{
    return {AtalhosSection, shortcutKey(letter), QString()};
}

SettingKey<bool> AtalhoSend(QChar letter)
{
    return {AtalhosSection, shortcutKey(letter) + QStringLiteral("Send"), false};
}
} // namespace Atalhos

namespace Canais {
const SettingKey<int> n{CanaisSection, QStringLiteral("n"), 0};
const SettingKey<int> nDialog{CanaisSection, QStringLiteral("n"), 1};
const SettingKey<QString> nText{CanaisSection, QStringLiteral("n"), QStringLiteral("1")};

SettingKey<QString> c(int i)
{
    return {CanaisSection, numbered("c", i), QString()};
}
} // namespace Canais

namespace Lista {
const SettingKey<int> nL{ListaSection, QStringLiteral("nL"), 0};

SettingKey<QString> Acc(int i)
{
    return {ListaSection, numbered("Acc", i), QString()};
}

SettingKey<QString> Mot(int i)
{
    return {ListaSection, numbered("Mot", i), QString()};
}
} // namespace Lista

} // namespace Keys

namespace Settings {

QString read(const TIniFile& ini, const SettingKey<QString>& k)
{
    return ini.ReadString(k.section, k.key, k.def);
}

int read(const TIniFile& ini, const SettingKey<int>& k)
{
    return ini.ReadInteger(k.section, k.key, k.def);
}

bool read(const TIniFile& ini, const SettingKey<bool>& k)
{
    return ini.ReadBool(k.section, k.key, k.def);
}

void write(TIniFile& ini, const SettingKey<QString>& k, const QString& v)
{
    ini.WriteString(k.section, k.key, v);
}

void write(TIniFile& ini, const SettingKey<int>& k, int v)
{
    ini.WriteInteger(k.section, k.key, v);
}

void write(TIniFile& ini, const SettingKey<bool>& k, bool v)
{
    ini.WriteBool(k.section, k.key, v);
}

} // namespace Settings

#include "SettingKeys.h"

namespace {

const QString kGeral = QStringLiteral("Geral");
const QString kAparencia = QStringLiteral("Aparencia");
const QString kForm = QStringLiteral("Form");
const QString kRespostas = QStringLiteral("Respostas");
const QString kTimers = QStringLiteral("Timers");
const QString kAtalhos = QStringLiteral("Atalhos");
const QString kCanais = QStringLiteral("Canais");
const QString kLista = QStringLiteral("Lista");

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
const SettingKey<QString> Login{kGeral, QStringLiteral("Login"), QString()};
const SettingKey<QString> Senha{kGeral, QStringLiteral("Senha"), QString()};
const SettingKey<QString> Servidor{kGeral, QStringLiteral("Servidor"),
                                   QStringLiteral(TULMO_DEFAULT_SERVER)};
const SettingKey<QString> CanalPrincipal{kGeral, QStringLiteral("CanalPrincipal"),
                                         QStringLiteral("Chat")};
const SettingKey<QString> CanalPrincipalShown{kGeral, QStringLiteral("CanalPrincipal"),
                                              QStringLiteral("Tulmo Diablo II BRA-1")};
const SettingKey<int> Timeout{kGeral, QStringLiteral("Timeout"), 15};
const SettingKey<QString> TimeoutShown{kGeral, QStringLiteral("Timeout"), QStringLiteral("15")};
const SettingKey<bool> JoinPrinc{kGeral, QStringLiteral("JoinPrinc"), true};
const SettingKey<QString> User2x{kGeral, QStringLiteral("User2x"), QString()};
const SettingKey<bool> Tray{kGeral, QStringLiteral("Tray"), false};
const SettingKey<QString> AtalhoMin{kGeral, QStringLiteral("AtalhoMin"), QString()};
const SettingKey<QString> CaminhoSS{kGeral, QStringLiteral("CaminhoSS"), QString()};
const SettingKey<bool> SalvarSS{kGeral, QStringLiteral("SalvarSS"), false};
const SettingKey<QString> CaminhoD2XP{kGeral, QStringLiteral("CaminhoD2XP"), QString()};
const SettingKey<QString> CaminhoSTAR{kGeral, QStringLiteral("CaminhoSTAR"), QString()};
const SettingKey<QString> CaminhoWAR3{kGeral, QStringLiteral("CaminhoWAR3"), QString()};
const SettingKey<QString> D2Param{kGeral, QStringLiteral("D2Param"), QString()};
const SettingKey<bool> D2Window{kGeral, QStringLiteral("D2Window"), false};
const SettingKey<bool> D2NoSound{kGeral, QStringLiteral("D2NoSound"), false};
const SettingKey<bool> D2SkipToLogin{kGeral, QStringLiteral("D2SkipToLogin"), false};
} // namespace Geral

namespace Aparencia {
const SettingKey<int> CorFundo{kAparencia, QStringLiteral("CorFundo"), 0};
const SettingKey<int> CorFundoChat{kAparencia, QStringLiteral("CorFundoChat"), 0};
const SettingKey<int> CorFundoWhisp{kAparencia, QStringLiteral("CorFundoWhisp"), 0};
const SettingKey<QString> FonteChat{kAparencia, QStringLiteral("FonteChat"),
                                    QStringLiteral("Verdana")};
const SettingKey<int> TamFonteChat{kAparencia, QStringLiteral("TamFonteChat"), 10};
const SettingKey<QString> FonteWhisp{kAparencia, QStringLiteral("FonteWhisp"),
                                     QStringLiteral("Tahoma")};
const SettingKey<int> TamFonteWhisp{kAparencia, QStringLiteral("TamFonteWhisp"), 10};
const SettingKey<QString> UsersFonte{kAparencia, QStringLiteral("UsersFonte"),
                                     QStringLiteral("Verdana")};
const SettingKey<int> UsersFonteTam{kAparencia, QStringLiteral("UsersFonteTam"), 9};
const SettingKey<int> CorMOD{kAparencia, QStringLiteral("CorMOD"), 8421504};
const SettingKey<int> CorADM{kAparencia, QStringLiteral("CorADM"), 16744448};
const SettingKey<int> CorOP{kAparencia, QStringLiteral("CorOP"), 16759671};
const SettingKey<int> CorVOICE{kAparencia, QStringLiteral("CorVOICE"), 33023};
const SettingKey<int> CorUSER{kAparencia, QStringLiteral("CorUSER"), 16777215};
const SettingKey<int> CorAcc{kAparencia, QStringLiteral("CorAcc"), 5284000};
const SettingKey<int> CorHora{kAparencia, QStringLiteral("CorHora"), 54741};
const SettingKey<int> CorInfo{kAparencia, QStringLiteral("CorInfo"), 65280};
const SettingKey<int> CorEmote{kAparencia, QStringLiteral("CorEmote"), 16711935};
const SettingKey<int> CorWTo{kAparencia, QStringLiteral("CorWTo"), 65535};
const SettingKey<int> CorWFrom{kAparencia, QStringLiteral("CorWFrom"), 65280};
const SettingKey<int> CorWToMsg{kAparencia, QStringLiteral("CorWToMsg"), 8421504};
const SettingKey<int> CorWFromMsg{kAparencia, QStringLiteral("CorWFromMsg"), 16777215};
const SettingKey<int> CorMsg{kAparencia, QStringLiteral("CorMsg"), 16777215};

SettingKey<QString> ImgFundoChat(const QString& exeFolderWithSlash)
{
    return {kAparencia, QStringLiteral("ImgFundoChat"),
            exeFolderWithSlash + QStringLiteral("bg.bmp")};
}

const SettingKey<QString> PosImgFundoChat{kAparencia, QStringLiteral("PosImgFundoChat"),
                                          QStringLiteral("centro")};
const SettingKey<bool> HorarioMsg{kAparencia, QStringLiteral("HorarioMsg"), true};
const SettingKey<bool> BarraChat{kAparencia, QStringLiteral("BarraChat"), true};
const SettingKey<bool> CustomList{kAparencia, QStringLiteral("CustomList"), true};
} // namespace Aparencia

namespace Form {
const SettingKey<int> Width{kForm, QStringLiteral("Width"), 700};
const SettingKey<int> Height{kForm, QStringLiteral("Height"), 600};
const SettingKey<int> X{kForm, QStringLiteral("X"), 290};
const SettingKey<int> Y{kForm, QStringLiteral("Y"), 250};
const SettingKey<bool> Max{kForm, QStringLiteral("Max"), false};
const SettingKey<int> ULW{kForm, QStringLiteral("ULW"), 165};
} // namespace Form

namespace Respostas {
const SettingKey<bool> RespFrase{kRespostas, QStringLiteral("RespFrase"), false};
const SettingKey<bool> RespWhisp{kRespostas, QStringLiteral("RespWhisp"), false};
const SettingKey<int> nRF{kRespostas, QStringLiteral("nRF"), 0};
const SettingKey<int> nRFOnDelete{kRespostas, QStringLiteral("nRF"), 1};
const SettingKey<int> nRW{kRespostas, QStringLiteral("nRW"), 0};
const SettingKey<int> nRWOnDelete{kRespostas, QStringLiteral("nRW"), 1};

SettingKey<QString> F(int n)
{
    return {kRespostas, numbered("F", n), QString()};
}

SettingKey<QString> RF(int n, int k)
{
    return {kRespostas, reply("RF", n, k), QString()};
}

SettingKey<int> nRFn(int n)
{
    return {kRespostas, numbered("nRF", n), 1};
}

SettingKey<QString> W(int n)
{
    return {kRespostas, numbered("W", n), QString()};
}

SettingKey<QString> RW(int n, int k)
{
    return {kRespostas, reply("RW", n, k), QString()};
}

SettingKey<int> nRWn(int n)
{
    return {kRespostas, numbered("nRW", n), 1};
}
} // namespace Respostas

namespace Timers {
const SettingKey<bool> TimersOn{kTimers, QStringLiteral("TimersOn"), false};
const SettingKey<int> STempo{kTimers, QStringLiteral("STempo"), 0};
const SettingKey<QString> STempoShown{kTimers, QStringLiteral("STempo"), QStringLiteral("0")};
const SettingKey<int> nTS{kTimers, QStringLiteral("nTS"), 0};

SettingKey<QString> STimer(int n)
{
    return {kTimers, numbered("STimer", n), QString()};
}
} // namespace Timers

namespace Atalhos {
SettingKey<QString> Atalho(QChar letter)
{
    return {kAtalhos, shortcutKey(letter), QString()};
}

SettingKey<bool> AtalhoSend(QChar letter)
{
    return {kAtalhos, shortcutKey(letter) + QStringLiteral("Send"), false};
}
} // namespace Atalhos

namespace Canais {
const SettingKey<int> n{kCanais, QStringLiteral("n"), 0};
const SettingKey<int> nDialog{kCanais, QStringLiteral("n"), 1};
const SettingKey<QString> nText{kCanais, QStringLiteral("n"), QStringLiteral("1")};

SettingKey<QString> c(int i)
{
    return {kCanais, numbered("c", i), QString()};
}
} // namespace Canais

namespace Lista {
const SettingKey<int> nL{kLista, QStringLiteral("nL"), 0};

SettingKey<QString> Acc(int i)
{
    return {kLista, numbered("Acc", i), QString()};
}

SettingKey<QString> Mot(int i)
{
    return {kLista, numbered("Mot", i), QString()};
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

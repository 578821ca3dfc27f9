#pragma once

#include <QChar>
#include <QString>

#include "settings/TIniFile.h"

// One key of confs.ini with its type and the default a missing key reads as. Some keys are read
// with two defaults depending on who reads them; those have a second object on the same key.
template <typename T>
struct SettingKey
{
    QString section;
    QString key;
    T def;
};

// Colours are int keys holding 0x00BBGGRR (red in the low byte), in decimal.
namespace Keys {

namespace Geral {
extern const SettingKey<QString> Login;
extern const SettingKey<QString> Senha;
extern const SettingKey<QString> Servidor;            // default: the build's default server
extern const SettingKey<QString> CanalPrincipal;      // "Chat": the channel joined
extern const SettingKey<QString> CanalPrincipalShown; // as the options dialog shows it
extern const SettingKey<int> Timeout;
extern const SettingKey<QString> TimeoutShown; // the same key as the dialog's text
extern const SettingKey<bool> JoinPrinc;
// Try the connection again by itself when it drops
extern const SettingKey<bool> Reconectar;
// "Kick", "Ban", "Whois", "KickMot", "BanMot" or "Squelch"; empty when missing, which the
// double-click takes as "Squelch" and the options dialog as "Whois"
extern const SettingKey<QString> User2x;
extern const SettingKey<bool> Tray;
extern const SettingKey<QString> AtalhoMin; // shortcut text, see ShortcutText
extern const SettingKey<bool> Ortografia;   // spell checking of the input lines
extern const SettingKey<QString> CaminhoSS;
extern const SettingKey<bool> SalvarSS;
extern const SettingKey<QString> CaminhoD2XP;
extern const SettingKey<QString> CaminhoSTAR;
extern const SettingKey<QString> CaminhoWAR3;
extern const SettingKey<QString> D2Param;
extern const SettingKey<bool> D2Window;
extern const SettingKey<bool> D2NoSound;
extern const SettingKey<bool> D2SkipToLogin;
// The highlight words: a channel line holding one is a mention, as one holding the account name.
// Separated by commas; empty: none.
extern const SettingKey<QString> Destaques;
// Lines naming the user or a highlight word are drawn and announced as mentions.
extern const SettingKey<bool> Mencoes;
extern const SettingKey<bool> LogsAuto; // the panes' lines also go to daily files
} // namespace Geral

namespace Aparencia {
extern const SettingKey<int> CorFundo;
extern const SettingKey<int> CorFundoChat;
extern const SettingKey<int> CorFundoWhisp;
extern const SettingKey<QString> FonteChat;
extern const SettingKey<int> TamFonteChat;
extern const SettingKey<QString> FonteWhisp;
extern const SettingKey<int> TamFonteWhisp;
extern const SettingKey<QString> UsersFonte;
extern const SettingKey<int> UsersFonteTam;
extern const SettingKey<int> CorMOD;
extern const SettingKey<int> CorADM;
extern const SettingKey<int> CorOP;
extern const SettingKey<int> CorVOICE;
extern const SettingKey<int> CorUSER;
extern const SettingKey<int> CorAcc;
extern const SettingKey<int> CorHora;
extern const SettingKey<int> CorInfo;
extern const SettingKey<int> CorEmote;
extern const SettingKey<int> CorWTo;
extern const SettingKey<int> CorWFrom;
extern const SettingKey<int> CorWToMsg;
extern const SettingKey<int> CorWFromMsg;
extern const SettingKey<int> CorMsg;
extern const SettingKey<int> CorMencao; // channel lines that mention the user
// Defaults to "bg.bmp" in the given folder, which ends with its separator. A present empty
// value means no picture.
SettingKey<QString> ImgFundoChat(const QString& exeFolderWithSlash);
extern const SettingKey<QString> PosImgFundoChat; // "centro", "lado" or "esticado"
extern const SettingKey<bool> HorarioMsg;
extern const SettingKey<bool> BarraChat;
extern const SettingKey<bool> CustomList;
} // namespace Aparencia

namespace Form {
extern const SettingKey<int> Width;
extern const SettingKey<int> Height;
extern const SettingKey<int> X;
extern const SettingKey<int> Y;
extern const SettingKey<bool> Max;
extern const SettingKey<int> ULW;
} // namespace Form

// Entry lists count from 1; reply k of entry n is "RF" n k (RF123: reply 3 of entry 12).
namespace Respostas {
extern const SettingKey<bool> RespFrase;
extern const SettingKey<bool> RespWhisp;
extern const SettingKey<int> nRF;
extern const SettingKey<int> nRFOnDelete; // the same count as the dialog reads it to delete
SettingKey<QString> F(int n);
SettingKey<QString> RF(int n, int k);
SettingKey<int> nRFn(int n);
extern const SettingKey<int> nRW;
extern const SettingKey<int> nRWOnDelete;
SettingKey<QString> W(int n);
SettingKey<QString> RW(int n, int k);
SettingKey<int> nRWn(int n);
} // namespace Respostas

namespace Timers {
extern const SettingKey<bool> TimersOn;
extern const SettingKey<int> STempo;
extern const SettingKey<QString> STempoShown; // the same key as the dialog's text
extern const SettingKey<int> nTS;
SettingKey<QString> STimer(int n);
} // namespace Timers

// Phrases bound to Ctrl+Alt+letter; a missing Atalho key means no binding.
namespace Atalhos {
SettingKey<QString> Atalho(QChar letter);
SettingKey<bool> AtalhoSend(QChar letter);
} // namespace Atalhos

// n is one more than the number of favourite channels.
namespace Canais {
extern const SettingKey<int> n;         // as the favourites menu reads it
extern const SettingKey<int> nDialog;   // as the favourites dialog and adding a channel read it
extern const SettingKey<QString> nText; // as text, when adding a channel names its key
SettingKey<QString> c(int i);
} // namespace Canais

namespace Lista {
extern const SettingKey<int> nL;
SettingKey<QString> Acc(int i);
SettingKey<QString> Mot(int i);
} // namespace Lista

} // namespace Keys

namespace Settings {

QString read(const TIniFile& ini, const SettingKey<QString>& k);
int read(const TIniFile& ini, const SettingKey<int>& k);
bool read(const TIniFile& ini, const SettingKey<bool>& k);

// Each throws SettingsWriteError as TIniFile does.
void write(TIniFile& ini, const SettingKey<QString>& k, const QString& v);
void write(TIniFile& ini, const SettingKey<int>& k, int v);
void write(TIniFile& ini, const SettingKey<bool>& k, bool v);

template <typename T>
bool exists(const TIniFile& ini, const SettingKey<T>& k)
{
    return ini.ValueExists(k.section, k.key);
}

template <typename T>
void remove(TIniFile& ini, const SettingKey<T>& k)
{
    ini.DeleteKey(k.section, k.key);
}

} // namespace Settings

#include "dialogs/OptionsGeneralTab.h"

#include <algorithm>
#include <array>
#include <exception>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "dialogs/ContentFit.h"
#include "dialogs/HotKeyEdit.h"
#include "dialogs/OptionsContext.h"
#include "dialogs/Prompts.h"
#include "settings/SettingKeys.h"
#include "settings/ShortcutText.h"
#include "settings/TIniFile.h"
#include "settings/WindowShortcuts.h"

namespace {

template <typename T>
T* named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    return named(new QLabel(text, parent), name);
}

// The key of each entry of cmbGames, by position.
const std::array<const SettingKey<QString>*, 3> GameKeys = {
    &Keys::Geral::CaminhoD2XP, &Keys::Geral::CaminhoSTAR, &Keys::Geral::CaminhoWAR3};
constexpr int DiabloII = 0;

// The groups are sized for captions in Tahoma; the stand-in fonts of other desktops run
// wider and need what room the margins leave.
const QMargins GroupMargins(5, 4, 5, 5);

// Outside Windows a game runs as a native program or a script of any name.
#ifdef Q_OS_WIN
const QString ExecutableFilter = QStringLiteral("Executáveis (*.exe)");
#else
const QString ExecutableFilter = QStringLiteral("Executáveis (*.exe);;Todos os arquivos (*)");
#endif
const QString FolderTitle = QStringLiteral("Selecione um diretório:");

} // namespace

OptionsGeneralTab::OptionsGeneralTab(TIniFile& ini, const OptionsContext& context, QWidget* parent)
    : QWidget(parent), FIni(ini), m_context(context)
{
    setObjectName(QStringLiteral("tsGeral"));
    setupConnection();
    setupDoubleClick();
    setupTray();
    setupPaths();
    arrange();
    load();
    setupHandlers();
}

void OptionsGeneralTab::setupConnection()
{
    grpDados =
        named(new QGroupBox(QStringLiteral("  Conexão  "), this), QStringLiteral("grpDados"));
    txtLogin = named(new QLineEdit(grpDados), QStringLiteral("txtLogin"));
    txtSenha = named(new QLineEdit(grpDados), QStringLiteral("txtSenha"));
    txtSenha->setEchoMode(QLineEdit::Password);
    txtSenha->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"
    txtServidor = named(new QLineEdit(grpDados), QStringLiteral("txtServidor"));
    txtCanal = named(new QLineEdit(grpDados), QStringLiteral("txtCanal"));
    chkChanPrin =
        named(new QCheckBox(QStringLiteral("Ir para o canal principal ao conectar"), grpDados),
              QStringLiteral("chkChanPrin"));
    chkReconectar = named(new QCheckBox(QStringLiteral("Reconectar automaticamente"), grpDados),
                          QStringLiteral("chkReconectar"));
    txtTimeout = named(new QLineEdit(grpDados), QStringLiteral("txtTimeout"));
    txtTimeout->setFixedWidth(41);

    auto* layout = new QVBoxLayout(grpDados);
    layout->setContentsMargins(GroupMargins);
    layout->setSpacing(2);
    const struct
    {
        const char* name;
        const char* caption;
        QLineEdit* field;
    } rows[] = {{"Label1", "Login", txtLogin},
                {"Label2", "Senha", txtSenha},
                {"Label3", "Servidor", txtServidor},
                {"Label4", "Canal principal", txtCanal}};
    for (const auto& row : rows) {
        QLabel* caption = label(QLatin1String(row.name), QString::fromUtf8(row.caption), grpDados);
        caption->setBuddy(row.field);
        layout->addWidget(caption);
        layout->addWidget(row.field);
        layout->addSpacing(4);
    }
    layout->addWidget(chkChanPrin);
    layout->addWidget(chkReconectar);
    auto* timeout = new QHBoxLayout;
    QLabel* lblTimeout = label(QStringLiteral("lblTimeout"),
                               QStringLiteral("Tempo de espera ao conectar:"), grpDados);
    lblTimeout->setWordWrap(true);
    lblTimeout->setBuddy(txtTimeout);
    timeout->addWidget(lblTimeout, 1);
    timeout->addWidget(txtTimeout);
    timeout->addWidget(label(QStringLiteral("lblTimeouts"), QStringLiteral("s"), grpDados));
    layout->addLayout(timeout);
    chkLogsAuto = named(new QCheckBox(QStringLiteral("Gravar logs automaticamente"), grpDados),
                        QStringLiteral("chkLogsAuto"));
    layout->addWidget(chkLogsAuto);
    layout->addStretch();
}

void OptionsGeneralTab::setupDoubleClick()
{
    grpGeral = named(new QGroupBox(QStringLiteral("  Geral  "), this), QStringLiteral("grpGeral"));
    QLabel* Label5 = label(QStringLiteral("Label5"),
                           QStringLiteral("Ação a ser executada quando clicar 2x na lista de "
                                          "usuários:"),
                           grpGeral);
    Label5->setWordWrap(true);
    const auto radio = [this](const QString& name, const QString& caption) {
        return named(new QRadioButton(caption, grpGeral), name);
    };
    // One parent makes the six one exclusive group.
    rdo2xWhois = radio(QStringLiteral("rdo2xWhois"), QStringLiteral("Whois"));
    rdo2xSquelch = radio(QStringLiteral("rdo2xSquelch"), QStringLiteral("Squelch"));
    rdo2xKick = radio(QStringLiteral("rdo2xKick"), QStringLiteral("Kick"));
    rdo2xBan = radio(QStringLiteral("rdo2xBan"), QStringLiteral("Ban"));
    rdo2xKickMot = radio(QStringLiteral("rdo2xKickMot"), QStringLiteral("Kick com motivo"));
    rdo2xBanMot = radio(QStringLiteral("rdo2xBanMot"), QStringLiteral("Ban com motivo"));

    auto* layout = new QVBoxLayout(grpGeral);
    layout->setContentsMargins(GroupMargins);
    layout->addWidget(Label5);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(2);
    grid->addWidget(rdo2xWhois, 0, 0);
    grid->addWidget(rdo2xSquelch, 0, 1);
    grid->addWidget(rdo2xKick, 1, 0);
    grid->addWidget(rdo2xBan, 1, 1);
    grid->addWidget(rdo2xKickMot, 2, 0);
    grid->addWidget(rdo2xBanMot, 2, 1);
    layout->addLayout(grid);
    chkMencoes = named(new QCheckBox(QStringLiteral("Destacar menções"), grpGeral),
                       QStringLiteral("chkMencoes"));
    chkMencoes->setToolTip(QStringLiteral("Destaca e avisa as linhas do canal que citam o seu "
                                          "nome ou uma das palavras abaixo"));
    layout->addWidget(chkMencoes);
    txtDestaques = named(new QLineEdit(grpGeral), QStringLiteral("txtDestaques"));
    txtDestaques->setToolTip(QStringLiteral("Uma linha do canal com uma destas palavras é "
                                            "destacada como uma menção ao seu nome"));
    QLabel* lblDestaques =
        label(QStringLiteral("lblDestaques"),
              QStringLiteral("Palavras em destaque (separadas por vírgula):"), grpGeral);
    lblDestaques->setWordWrap(true);
    lblDestaques->setBuddy(txtDestaques);
    layout->addWidget(lblDestaques);
    layout->addWidget(txtDestaques);
    layout->addStretch();
}

void OptionsGeneralTab::setupTray()
{
    grpTray = named(new QGroupBox(QStringLiteral("  Tray  "), this), QStringLiteral("grpTray"));
    chkTray = named(new QCheckBox(QStringLiteral("Minizar para o tray"), grpTray),
                    QStringLiteral("chkTray"));
    hkAtalhoMin = named(new HotKeyEdit(grpTray), QStringLiteral("hkAtalhoMin"));
    // Two shortcuts on one combination make neither work: the main window's keys are refused.
    hkAtalhoMin->setHolder(&WindowShortcuts::usedBy);
    QLabel* lblAtalhoMin =
        label(QStringLiteral("lblAtalhoMin"), QStringLiteral("Atalho para minimizar:"), grpTray);
    lblAtalhoMin->setBuddy(hkAtalhoMin);
    chkOrtografia = named(new QCheckBox(QStringLiteral("Verificar ortografia"), grpTray),
                          QStringLiteral("chkOrtografia"));

    auto* layout = new QVBoxLayout(grpTray);
    layout->setContentsMargins(GroupMargins);
    layout->addWidget(chkTray);
    layout->addWidget(lblAtalhoMin);
    layout->addWidget(hkAtalhoMin);
    layout->addStretch();
    layout->addWidget(chkOrtografia);
}

void OptionsGeneralTab::setupPaths()
{
    pgCaminhos = named(new QTabWidget(this), QStringLiteral("pgCaminhos"));
    pgCaminhos->setAccessibleName(QStringLiteral("Caminhos"));
    pgCaminhos->addTab(setupGamesPage(), QStringLiteral("Caminho dos Jogos"));
    pgCaminhos->addTab(setupScreenshotsPage(), QStringLiteral("Caminho das Screenshots"));
    pgCaminhos->setCurrentIndex(0);
}

// Drawn with the connection on the left, the double-click action and the tray on the right and
// the paths below. A group whose captions run wider than drawn grows, and the groups beside and
// below it move on.
void OptionsGeneralTab::arrange()
{
    constexpr int Margin = 8;
    constexpr int Gap = 7;
    const QSize dados = ContentFit::needed(*grpDados, {217, 257});
    const QSize geral = ContentFit::needed(*grpGeral, {217, 145});
    const QSize tray = ContentFit::needed(*grpTray, {217, 105});
    const int right = std::max(geral.width(), tray.width());
    const int columns = std::max(dados.height(), geral.height() + Gap + tray.height());
    const int rightLeft = Margin + dados.width() + Gap;
    grpDados->setGeometry(Margin, Margin, dados.width(), columns);
    grpGeral->setGeometry(rightLeft, Margin, right, geral.height());
    grpTray->setGeometry(rightLeft, grpGeral->geometry().bottom() + 1 + Gap, right,
                         columns - geral.height() - Gap);
    const QSize paths = ContentFit::needed(*pgCaminhos, {rightLeft + right - Margin, 121});
    pgCaminhos->setGeometry(Margin, Margin + columns + Gap, paths.width(), paths.height());
    setMinimumSize(ContentFit::extentOfChildren(*this, Margin));
}

QWidget* OptionsGeneralTab::setupGamesPage()
{
    auto* page = named(new QWidget(pgCaminhos), QStringLiteral("tsCaminhoJogos"));
    cmbGames = named(new QComboBox(page), QStringLiteral("cmbGames"));
    cmbGames->addItems(
        {QStringLiteral("Diablo II"), QStringLiteral("Starcraft"), QStringLiteral("Warcraft III")});
    btnExcluirGame =
        named(new QPushButton(QStringLiteral("X"), page), QStringLiteral("btnExcluirGame"));
    btnExcluirGame->setToolTip(QStringLiteral("Excluir caminho do game"));
    btnExcluirGame->setFixedWidth(23);
    txtCaminho = named(new QLineEdit(page), QStringLiteral("txtCaminho"));
    txtCaminho->setReadOnly(true);
    btnGamesProc =
        named(new QPushButton(QStringLiteral("Procurar..."), page), QStringLiteral("btnGamesProc"));
    txtGameParam = named(new QLineEdit(page), QStringLiteral("txtGameParam"));
    // Kept, stored and shown again, but never shown to the user.
    chkWindowed =
        named(new QCheckBox(QStringLiteral("Modo janela"), page), QStringLiteral("chkWindowed"));
    chkSemSom = named(new QCheckBox(QStringLiteral("Sem som"), page), QStringLiteral("chkSemSom"));
    chkSkipToLogin = named(new QCheckBox(QStringLiteral("Ir direto à tela de login"), page),
                           QStringLiteral("chkSkipToLogin"));
    for (QCheckBox* hidden : {chkWindowed, chkSemSom, chkSkipToLogin})
        hidden->hide();

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setVerticalSpacing(4);
    // Each caption names its field for a screen reader.
    const auto labelFor = [page](const char* name, const char* text, QWidget* field) {
        QLabel* caption = label(QLatin1String(name), QString::fromUtf8(text), page);
        caption->setBuddy(field);
        return caption;
    };
    grid->addWidget(labelFor("Label9", "Jogo:", cmbGames), 0, 0);
    auto* game = new QHBoxLayout;
    game->addWidget(cmbGames, 1);
    game->addWidget(btnExcluirGame);
    grid->addLayout(game, 0, 1);
    grid->addWidget(labelFor("Label10", "Caminho:", txtCaminho), 1, 0);
    grid->addWidget(txtCaminho, 1, 1);
    grid->addWidget(btnGamesProc, 1, 2);
    grid->addWidget(labelFor("Label11", "Parametros:", txtGameParam), 2, 0);
    grid->addWidget(txtGameParam, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* OptionsGeneralTab::setupScreenshotsPage()
{
    auto* page = named(new QWidget(pgCaminhos), QStringLiteral("tsCaminhoSS"));
    chkSalvarSS = named(new QCheckBox(QStringLiteral("Salvar screenshots automaticamente"), page),
                        QStringLiteral("chkSalvarSS"));
    txtCaminhoSS = named(new QLineEdit(page), QStringLiteral("txtCaminhoSS"));
    txtCaminhoSS->setReadOnly(true);
    btnProcSS =
        named(new QPushButton(QStringLiteral("Procurar..."), page), QStringLiteral("btnProcSS"));

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(chkSalvarSS);
    layout->addWidget(label(QStringLiteral("Label12"),
                            QStringLiteral("Caminho onde as screenshots serão automaticamente "
                                           "salvas:"),
                            page));
    auto* folder = new QHBoxLayout;
    folder->addWidget(txtCaminhoSS, 1);
    folder->addWidget(btnProcSS);
    layout->addLayout(folder);
    layout->addStretch();
    return page;
}

void OptionsGeneralTab::load()
{
    using namespace Keys::Geral;
    txtLogin->setText(Settings::read(FIni, Login));
    txtSenha->setText(Settings::read(FIni, Senha));
    txtServidor->setText(Settings::read(FIni, Servidor));
    txtCanal->setText(Settings::read(FIni, CanalPrincipalShown));
    txtTimeout->setText(Settings::read(FIni, TimeoutShown));
    txtCaminhoSS->setText(Settings::read(FIni, CaminhoSS));
    chkChanPrin->setChecked(Settings::read(FIni, JoinPrinc));
    chkReconectar->setChecked(Settings::read(FIni, Reconectar));
    chkLogsAuto->setChecked(Settings::read(FIni, LogsAuto));
    chkSalvarSS->setChecked(Settings::read(FIni, SalvarSS));

    // The stored text must match exactly; anything else is taken as "Whois".
    const QString stored = Settings::read(FIni, User2x);
    rdo2xWhois->setChecked(true);
    for (const DoubleClickAction& action : doubleClickActions()) {
        if (action.text == stored)
            action.radio->setChecked(true);
    }

    chkMencoes->setChecked(Settings::read(FIni, Mencoes));
    txtDestaques->setText(Settings::read(FIni, Destaques));

    chkTray->setChecked(Settings::read(FIni, Tray));
    const auto minimize = ShortcutText::parse(Settings::read(FIni, AtalhoMin));
    hkAtalhoMin->setCombination(minimize);
    chkOrtografia->setChecked(Settings::read(FIni, Ortografia));

    cmbGames->setCurrentIndex(DiabloII);
    txtCaminho->setText(Settings::read(FIni, CaminhoD2XP));
    txtGameParam->setText(Settings::read(FIni, D2Param));
    chkWindowed->setChecked(Settings::read(FIni, D2Window));
    chkSemSom->setChecked(Settings::read(FIni, D2NoSound));
    chkSkipToLogin->setChecked(Settings::read(FIni, D2SkipToLogin));
}

// Connected once the controls are loaded, so loading writes nothing.
void OptionsGeneralTab::setupHandlers()
{
    connect(cmbGames, &QComboBox::currentIndexChanged, this, guard([this] { cmbGamesChange(); }));
    connect(btnGamesProc, &QPushButton::clicked, this, guard([this] { btnGamesProcClick(); }));
    connect(btnExcluirGame, &QPushButton::clicked, this, guard([this] { btnExcluirGameClick(); }));
    connect(chkWindowed, &QCheckBox::toggled, this, guard([this] { chkWindowedClick(); }));
    connect(chkSemSom, &QCheckBox::toggled, this, guard([this] { chkSemSomClick(); }));
    connect(chkSkipToLogin, &QCheckBox::toggled, this, guard([this] { chkSkipToLoginClick(); }));
    connect(btnProcSS, &QPushButton::clicked, this, guard([this] { btnProcSSClick(); }));
    connect(hkAtalhoMin, &HotKeyEdit::refused, this,
            [this](QKeyCombination combination, const QString& usedBy) {
                hkAtalhoMinRefused(combination, usedBy);
            });
}

std::function<void()> OptionsGeneralTab::guard(std::function<void()> handler)
{
    return [this, handler = std::move(handler)] {
        try {
            handler();
        } catch (const std::exception& e) {
            m_context.prompts->errorBox(this, QString::fromUtf8(e.what()));
        }
    };
}

std::array<OptionsGeneralTab::DoubleClickAction, 6> OptionsGeneralTab::doubleClickActions() const
{
    return {{{rdo2xKick, QStringLiteral("Kick")},
             {rdo2xBan, QStringLiteral("Ban")},
             {rdo2xWhois, QStringLiteral("Whois")},
             {rdo2xKickMot, QStringLiteral("KickMot")},
             {rdo2xBanMot, QStringLiteral("BanMot")},
             {rdo2xSquelch, QStringLiteral("Squelch")}}};
}

// The first selected in the table's order; "Squelch" is what none of the others means.
QString OptionsGeneralTab::selectedAction() const
{
    for (const DoubleClickAction& action : doubleClickActions()) {
        if (action.radio->isChecked())
            return action.text;
    }
    return QStringLiteral("Squelch");
}

QString OptionsGeneralTab::gamePath() const
{
    return Settings::read(FIni, *GameKeys.at(size_t(cmbGames->currentIndex())));
}

void OptionsGeneralTab::cmbGamesChange()
{
    txtGameParam->setEnabled(cmbGames->currentIndex() == DiabloII);
    txtCaminho->setText(gamePath());
}

void OptionsGeneralTab::btnGamesProcClick()
{
    const QString file = m_context.prompts->openFileName(this, QString(), ExecutableFilter);
    if (file.isEmpty())
        return;
    const QString path = QDir::toNativeSeparators(file);
    Settings::write(FIni, *GameKeys.at(size_t(cmbGames->currentIndex())), path);
    txtCaminho->setText(path);
}

void OptionsGeneralTab::btnExcluirGameClick()
{
    Settings::remove(FIni, *GameKeys.at(size_t(cmbGames->currentIndex())));
    txtCaminho->clear();
}

void OptionsGeneralTab::chkWindowedClick()
{
    Settings::write(FIni, Keys::Geral::D2Window, chkWindowed->isChecked());
}

void OptionsGeneralTab::chkSemSomClick()
{
    Settings::write(FIni, Keys::Geral::D2NoSound, chkSemSom->isChecked());
}

void OptionsGeneralTab::chkSkipToLoginClick()
{
    Settings::write(FIni, Keys::Geral::D2SkipToLogin, chkSkipToLogin->isChecked());
}

// The folder is stored with a separator after it, also a root folder ("/" becomes "//"): the
// screenshots append only their file name.
void OptionsGeneralTab::btnProcSSClick()
{
    const QString folder = m_context.prompts->folderName(this, FolderTitle, QString());
    if (folder.isEmpty())
        return;
    const QString path = QDir::toNativeSeparators(folder) + QDir::separator();
    Settings::write(FIni, Keys::Geral::CaminhoSS, path);
    txtCaminhoSS->setText(path);
}

void OptionsGeneralTab::hkAtalhoMinRefused(QKeyCombination combination, const QString& usedBy)
{
    m_context.prompts->warningBox(this, QStringLiteral("O atalho %1 já é usado %2. Escolha outra "
                                                       "combinação para minimizar.")
                                            .arg(ShortcutText::format(combination), usedBy));
}

void OptionsGeneralTab::store()
{
    using namespace Keys::Geral;
    Settings::write(FIni, Login, txtLogin->text());
    Settings::write(FIni, Senha, txtSenha->text());
    Settings::write(FIni, Servidor, txtServidor->text());
    Settings::write(FIni, CanalPrincipalShown, txtCanal->text());
    Settings::write(FIni, TimeoutShown, txtTimeout->text());
    Settings::write(FIni, JoinPrinc, chkChanPrin->isChecked());
    Settings::write(FIni, Reconectar, chkReconectar->isChecked());
    Settings::write(FIni, LogsAuto, chkLogsAuto->isChecked());
    Settings::write(FIni, D2Param, txtGameParam->text());
    Settings::write(FIni, SalvarSS, chkSalvarSS->isChecked());

    Settings::write(FIni, User2x, selectedAction());
    // Written only when changed: a file of a user who never set them keeps its lines.
    if (chkMencoes->isChecked() != Settings::read(FIni, Mencoes))
        Settings::write(FIni, Mencoes, chkMencoes->isChecked());
    if (txtDestaques->text() != Settings::read(FIni, Destaques))
        Settings::write(FIni, Destaques, txtDestaques->text());

    Settings::write(FIni, Tray, chkTray->isChecked());
    const auto minimize = hkAtalhoMin->combination();
    Settings::write(FIni, AtalhoMin, minimize ? ShortcutText::format(*minimize) : QString());
    Settings::write(FIni, Ortografia, chkOrtografia->isChecked());
}

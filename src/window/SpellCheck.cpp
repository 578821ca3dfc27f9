#include "window/SpellCheck.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTextCharFormat>

#include "chat/SpellChecker.h"
#include "chat/SpellDictionary.h"
#include "chat/UserListModel.h"
#include "settings/SettingKeys.h"
#include "window/WindowContext.h"

const QString SpellCheck::PersonalFile = QStringLiteral("dicionario.txt");

SpellCheck::SpellCheck(WindowContext& ctx, const UserListModel* users,
                       const QList<QLineEdit*>& lines, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_users(users), m_lines(lines),
      m_personal(ctx.settingsFolder() + PersonalFile)
{
    setObjectName(QStringLiteral("SpellCheck"));
    m_enabled = Settings::read(*m_ctx.settings(), Keys::Geral::Ortografia);
    for (QLineEdit* line : m_lines) {
        line->installEventFilter(this);
        connect(line, &QLineEdit::textChanged, this, m_ctx.guard([this, line] { check(line); }));
    }
    m_usersChanged.setSingleShot(true);
    m_usersChanged.setInterval(200);
    connect(&m_usersChanged, &QTimer::timeout, this, m_ctx.guard([this] { checkAll(); }));
    if (m_users) {
        const auto changed = [this] {
            if (active())
                m_usersChanged.start();
        };
        connect(m_users, &QAbstractItemModel::rowsInserted, this, changed);
        connect(m_users, &QAbstractItemModel::rowsRemoved, this, changed);
        connect(m_users, &QAbstractItemModel::modelReset, this, changed);
    }
    connect(SpellDictionary::instance(), &SpellDictionary::loaded, this,
            m_ctx.guard([this] { checkAll(); }));
}

SpellCheck::~SpellCheck()
{
    for (QLineEdit* line : m_lines)
        line->removeEventFilter(this);
}

void SpellCheck::startUp()
{
    m_started = true;
    m_personal.load();
    checkAll();
}

void SpellCheck::applyOptions()
{
    m_enabled = Settings::read(*m_ctx.settings(), Keys::Geral::Ortografia);
    checkAll();
}

bool SpellCheck::active() const
{
    return m_enabled && m_started && SpellDictionary::instance()->checker();
}

QList<SpellWords::Range> SpellCheck::marked(const QLineEdit* line) const
{
    return m_marked.value(line);
}

QList<SpellWords::Range> SpellCheck::misspelled(const QString& text) const
{
    QList<SpellWords::Range> wrong;
    if (!active())
        return wrong;
    const SpellChecker* checker = SpellDictionary::instance()->checker();
    const SpellWords::IsAccount account = [this](const QString& name) { return isAccount(name); };
    for (const SpellWords::Range& range : SpellWords::checkable(text, account)) {
        const QString word = text.mid(range.start, range.length);
        if (!m_personal.contains(word) && !checker->isCorrect(word))
            wrong << range;
    }
    return wrong;
}

void SpellCheck::markWords(QLineEdit* line, const QList<SpellWords::Range>& words)
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    // The edit takes the ranges from its caret on and keeps them where they fall in its text.
    const int caret = line->cursorPosition();
    QList<QInputMethodEvent::Attribute> attributes;
    for (const SpellWords::Range& word : words)
        attributes << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                   word.start - caret, word.length, format);
    QInputMethodEvent event(QString(), attributes);
    QCoreApplication::sendEvent(line, &event);
}

void SpellCheck::check(QLineEdit* line)
{
    if (m_composing.contains(line))
        return;
    // The dictionary takes tens of megabytes: a window whose lines stay empty does without.
    if (m_enabled && m_started && !line->text().isEmpty())
        SpellDictionary::instance()->load();
    const QList<SpellWords::Range> wrong = misspelled(line->text());
    // An edit never marked needs no event to stay unmarked.
    if (wrong.isEmpty() && !m_marked.contains(line))
        return;
    m_marking = true;
    markWords(line, wrong);
    m_marking = false;
    if (wrong.isEmpty())
        m_marked.remove(line);
    else
        m_marked.insert(line, wrong);
}

void SpellCheck::checkAll()
{
    for (QLineEdit* line : m_lines)
        check(line);
}

bool SpellCheck::isAccount(const QString& name) const
{
    return m_users && m_users->find(name);
}

QMenu* SpellCheck::contextMenu(QLineEdit* line, int position)
{
    QMenu* menu = line->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("popOrtografia"));
    const QString text = line->text();
    const SpellWords::IsAccount account = [this](const QString& name) { return isAccount(name); };
    const SpellWords::Range word = SpellWords::wordAt(text, position, account);
    if (word.length == 0 || !misspelled(text).contains(word))
        return menu;
    const QString typed = text.mid(word.start, word.length);
    QList<QAction*> ours;
    for (const QString& suggestion : SpellDictionary::instance()->checker()->suggestions(typed)) {
        auto* action = new QAction(suggestion, menu);
        connect(action, &QAction::triggered, this, m_ctx.guard([line, text, word, suggestion] {
            // The line may have changed under the open menu: the word is elsewhere then.
            if (line->text() != text)
                return;
            // Typed over, so that undo brings the word back.
            line->setSelection(word.start, word.length);
            line->insert(suggestion);
        }));
        ours << action;
    }
    auto* add = new QAction(QStringLiteral("Adicionar ao dicionário"), menu);
    add->setObjectName(QStringLiteral("popAdicionarDicionario"));
    connect(add, &QAction::triggered, this, m_ctx.guard([this, typed] { addWord(typed); }));
    ours << add;
    QAction* first = menu->actions().value(0);
    menu->insertActions(first, ours);
    menu->insertSeparator(first);
    return menu;
}

void SpellCheck::addWord(const QString& word)
{
    if (!m_personal.add(word))
        m_ctx.erro(QStringLiteral("Não foi possível gravar a palavra em %1.").arg(PersonalFile));
    checkAll();
}

bool SpellCheck::eventFilter(QObject* watched, QEvent* event)
{
    auto* line = qobject_cast<QLineEdit*>(watched);
    if (!line || !m_lines.contains(line))
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::InputMethod && !m_marking) {
        // The edit takes the input method's formats in place of ours: once the composition
        // ends, the line is marked again.
        if (static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty()) {
            m_composing.remove(line);
            QMetaObject::invokeMethod(
                this, [this, line] { m_ctx.guarded([this, line] { check(line); }); },
                Qt::QueuedConnection);
        } else {
            m_composing.insert(line);
        }
    } else if (event->type() == QEvent::ContextMenu && active()) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const int position = menuEvent->reason() == QContextMenuEvent::Mouse
                                 ? line->cursorPositionAt(menuEvent->pos())
                                 : line->cursorPosition();
        QMenu* menu = nullptr;
        m_ctx.guarded([&] { menu = contextMenu(line, position); });
        if (menu) {
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(menuEvent->globalPos());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

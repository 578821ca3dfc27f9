#include "chat/SpellDictionary.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

#include "chat/SpellChecker.h"

const QString SpellDictionary::Name = QStringLiteral("pt_BR");

SpellDictionary::SpellDictionary(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("SpellDictionary"));
}

SpellDictionary::~SpellDictionary()
{
    if (m_thread)
        m_thread->wait();
}

SpellDictionary* SpellDictionary::instance()
{
    static QPointer<SpellDictionary> dictionary;
    if (!dictionary)
        dictionary = new SpellDictionary(QCoreApplication::instance());
    return dictionary;
}

QStringList SpellDictionary::folders()
{
    return {QCoreApplication::applicationDirPath(), QStringLiteral("/usr/share/hunspell")};
}

void SpellDictionary::load()
{
    if (m_thread)
        return;
    m_thread = QThread::create([this] { m_loading = SpellChecker::find(folders(), Name); });
    m_thread->setParent(this);
    m_thread->setObjectName(QStringLiteral("SpellDictionaryLoader"));
    // Queued to the main thread: the result is complete once the thread has finished.
    connect(m_thread, &QThread::finished, this, [this] {
        m_checker = std::move(m_loading);
        m_loaded = true;
        Q_EMIT loaded();
    });
    m_thread->start(QThread::LowPriority);
}

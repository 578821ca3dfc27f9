#include "chat/PersonalWords.h"

#include <QFile>

#include "core/AtomicFile.h"

PersonalWords::PersonalWords(const QString& path) : m_path(path) {}

bool PersonalWords::load()
{
    m_words.clear();
    m_set.clear();
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return !file.exists();
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    for (const QString& line : text.split(QLatin1Char('\n')))
        insert(line.trimmed());
    return true;
}

bool PersonalWords::contains(const QString& word) const
{
    if (word.isEmpty())
        return false;
    if (m_set.contains(word))
        return true;
    const QString lower = word.toLower();
    const QString capitalised = lower.left(1).toUpper() + lower.mid(1);
    if (word == capitalised)
        return m_set.contains(lower);
    if (word == word.toUpper())
        return m_set.contains(lower) || m_set.contains(capitalised);
    return false;
}

bool PersonalWords::add(const QString& word)
{
    const QStringList known = m_words;
    // A file that exists but cannot be read is never written over: its words would be lost.
    const bool readable = load();
    for (const QString& listed : known)
        insert(listed);
    insert(word.trimmed());
    if (!readable)
        return false;
    QByteArray bytes;
    for (const QString& listed : m_words)
        bytes += listed.toUtf8() + '\n';
    return AtomicFile::save(m_path, bytes);
}

void PersonalWords::insert(const QString& word)
{
    if (word.isEmpty() || m_set.contains(word))
        return;
    m_set.insert(word);
    m_words.append(word);
}

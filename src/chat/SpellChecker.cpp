#include "chat/SpellChecker.h"

#include <string>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <hunspell.hxx>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Answers kept before the memory is emptied and filled again: a day of typing stays far below.
constexpr int MaxKnown = 50000;

// Hunspell opens its files by a narrow name. On Windows that is the system's code page, which
// may not hold a folder's name (a Cyrillic user name on a Portuguese system): such a path goes by
// its short name.
QByteArray narrowPath(const QString& path)
{
    const QByteArray local = QFile::encodeName(path);
#ifdef Q_OS_WIN
    if (QFile::decodeName(local) != path) {
        const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
        std::wstring shortName(MAX_PATH, L'\0');
        const DWORD length = GetShortPathNameW(wide.c_str(), shortName.data(), MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            shortName.resize(length);
            return QString::fromStdWString(shortName).toLocal8Bit();
        }
    }
#endif
    return local;
}

} // namespace

SpellChecker::SpellChecker(std::unique_ptr<Hunspell> hunspell, Charset charset, QString encoding)
    : m_hunspell(std::move(hunspell)), m_charset(charset), m_encoding(std::move(encoding))
{
}

SpellChecker::~SpellChecker() = default;

std::unique_ptr<SpellChecker> SpellChecker::open(const QString& affPath, const QString& dicPath)
{
    if (!QFileInfo(affPath).isFile() || !QFileInfo(dicPath).isFile())
        return nullptr;
    auto hunspell = std::make_unique<Hunspell>(narrowPath(affPath).constData(),
                                               narrowPath(dicPath).constData());
    const QString set = QString::fromStdString(hunspell->get_dict_encoding());
    QString key = set.toUpper();
    key.remove(QLatin1Char('-'));
    key.remove(QLatin1Char('_'));
    Charset charset;
    if (key == QLatin1String("UTF8"))
        charset = Charset::Utf8;
    else if (key == QLatin1String("ISO88591") || key == QLatin1String("LATIN1"))
        charset = Charset::Latin1;
    else
        return nullptr;
    return std::unique_ptr<SpellChecker>(new SpellChecker(std::move(hunspell), charset, set));
}

std::unique_ptr<SpellChecker> SpellChecker::find(const QStringList& folders, const QString& name)
{
    for (QString folder : folders) {
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        if (auto checker = open(folder + name + QStringLiteral(".aff"),
                                folder + name + QStringLiteral(".dic")))
            return checker;
    }
    return nullptr;
}

bool SpellChecker::isCorrect(const QString& word) const
{
    const auto known = m_known.constFind(word);
    if (known != m_known.constEnd())
        return *known;
    std::string bytes;
    const bool correct = encode(word, bytes) && m_hunspell->spell(bytes);
    if (m_known.size() >= MaxKnown)
        m_known.clear();
    m_known.insert(word, correct);
    return correct;
}

QStringList SpellChecker::suggestions(const QString& word) const
{
    std::string bytes;
    if (!encode(word, bytes))
        return {};
    QStringList found;
    for (const std::string& suggestion : m_hunspell->suggest(bytes)) {
        if (found.size() == MaxSuggestions)
            break;
        found << decode(suggestion);
    }
    return found;
}

bool SpellChecker::encode(const QString& word, std::string& bytes) const
{
    if (m_charset == Charset::Utf8) {
        bytes = word.toStdString();
        return true;
    }
    for (const QChar c : word) {
        if (c.unicode() > 0xFF)
            return false;
    }
    const QByteArray latin1 = word.toLatin1();
    bytes.assign(latin1.constData(), size_t(latin1.size()));
    return true;
}

QString SpellChecker::decode(const std::string& bytes) const
{
    if (m_charset == Charset::Utf8)
        return QString::fromStdString(bytes);
    return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
}

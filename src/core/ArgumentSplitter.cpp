#include "core/ArgumentSplitter.h"

namespace {

bool isWindowsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isPosixBlank(QChar c)
{
    return isWindowsBlank(c) || c == QLatin1Char('\n');
}

// Collects the characters of the argument being read. An argument exists once anything of it was
// read, quotes included, so an empty quoted argument is kept.
class Arguments
{
public:
    void append(QChar c)
    {
        m_current += c;
        m_started = true;
    }
    void append(const QString& text)
    {
        m_current += text;
        m_started = true;
    }
    void start() { m_started = true; }
    void finish()
    {
        if (m_started)
            m_list << m_current;
        m_current.clear();
        m_started = false;
    }
    QStringList take()
    {
        finish();
        return m_list;
    }

private:
    QStringList m_list;
    QString m_current;
    bool m_started = false;
};

} // namespace

QStringList ArgumentSplitter::windows(const QString& text)
{
    const QChar backslash(QLatin1Char('\\'));
    const QChar quote(QLatin1Char('"'));
    Arguments arguments;
    bool quoted = false;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (!quoted && isWindowsBlank(c)) {
            arguments.finish();
            ++i;
        } else if (c == backslash) {
            qsizetype count = 0;
            while (i + count < text.size() && text[i + count] == backslash)
                ++count;
            i += count;
            if (i < text.size() && text[i] == quote) {
                arguments.append(QString(count / 2, backslash));
                // An odd backslash makes the quote literal; after an even run the quote is read
                // as any other quote.
                if (count % 2 == 1) {
                    arguments.append(quote);
                    ++i;
                }
            } else {
                arguments.append(QString(count, backslash));
            }
        } else if (c == quote) {
            arguments.start();
            if (quoted && i + 1 < text.size() && text[i + 1] == quote) {
                arguments.append(quote);
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
        } else {
            arguments.append(c);
            ++i;
        }
    }
    return arguments.take();
}

QStringList ArgumentSplitter::posix(const QString& text)
{
    const QChar backslash(QLatin1Char('\\'));
    const QChar newline(QLatin1Char('\n'));
    const QString escapedInDoubleQuotes = QStringLiteral("$`\"\\\n");
    Arguments arguments;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (isPosixBlank(c)) {
            arguments.finish();
            ++i;
        } else if (c == QLatin1Char('\'')) {
            qsizetype end = text.indexOf(QLatin1Char('\''), i + 1);
            if (end < 0)
                end = text.size();
            arguments.append(text.mid(i + 1, end - i - 1));
            i = end + 1;
        } else if (c == QLatin1Char('"')) {
            arguments.start();
            ++i;
            while (i < text.size() && text[i] != QLatin1Char('"')) {
                if (text[i] == backslash && i + 1 < text.size() &&
                    escapedInDoubleQuotes.contains(text[i + 1])) {
                    if (text[i + 1] != newline)
                        arguments.append(text[i + 1]);
                    i += 2;
                } else {
                    arguments.append(text[i]);
                    ++i;
                }
            }
            ++i;
        } else if (c == backslash) {
            if (i + 1 == text.size()) {
                // Nothing left to escape: the backslash stands for itself.
                arguments.append(c);
                ++i;
            } else {
                // A backslash before a newline joins the lines and starts no argument.
                if (text[i + 1] != newline)
                    arguments.append(text[i + 1]);
                i += 2;
            }
        } else {
            arguments.append(c);
            ++i;
        }
    }
    return arguments.take();
}

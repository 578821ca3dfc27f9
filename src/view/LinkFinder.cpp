#include "view/LinkFinder.h"

#include <algorithm>

#include <QUrl>

namespace {

const QStringView Prefixes[] = {u"https://", u"http://", u"www."};
const QStringView WebPrefix = u"www.";

// Characters that may stand right before an address within a word ("site.com/www.x", "a@www.x"):
// an address found there would be a piece of something else.
bool continuesWord(QChar ch)
{
    return ch.isLetterOrNumber() || QStringView(u"./@-_:%~#&=+\\").contains(ch);
}

bool endsAddress(QChar ch)
{
    switch (ch.unicode()) {
    case u'"':
    case u'<':
    case u'>':
    case u'`':
    case u'{':
    case u'}':
    case u'|':
    case u'\\':
    case u'^':
    case 0x2018: // ‘
    case 0x2019: // ’
    case 0x201C: // “
    case 0x201D: // ”
        return true;
    default:
        return ch.isSpace() || ch.category() == QChar::Other_Control;
    }
}

// Punctuation that closes a sentence or a quote rather than an address.
bool trailsAddress(QChar ch)
{
    return QStringView(u".,;:!?'*").contains(ch);
}

int prefixAt(QStringView text, qsizetype at)
{
    for (const QStringView prefix : Prefixes) {
        if (text.mid(at).startsWith(prefix, Qt::CaseInsensitive))
            return int(prefix.size());
    }
    return 0;
}

// The end of the address that starts at `start` and runs at most to `end`, without what trails it.
qsizetype trimmed(QStringView text, qsizetype start, qsizetype end)
{
    int parentheses = 0;
    int brackets = 0;
    for (qsizetype i = start; i < end; ++i) {
        const QChar ch = text.at(i);
        parentheses += ch == u'(' ? 1 : ch == u')' ? -1 : 0;
        brackets += ch == u'[' ? 1 : ch == u']' ? -1 : 0;
    }
    while (end > start) {
        const QChar last = text.at(end - 1);
        if (trailsAddress(last)) {
            --end;
        } else if (last == u')' && parentheses < 0) {
            ++parentheses;
            --end;
        } else if (last == u']' && brackets < 0) {
            ++brackets;
            --end;
        } else {
            break;
        }
    }
    return end;
}

} // namespace

QList<TextSpan> LinkFinder::find(QStringView text, int from)
{
    QList<TextSpan> links;
    const qsizetype length = text.size();
    qsizetype i = std::max(from, 0);
    while (i < length) {
        const char16_t ch = text.at(i).unicode() | 0x20;
        const int prefix = (ch == u'h' || ch == u'w') && (i == 0 || !continuesWord(text.at(i - 1)))
                               ? prefixAt(text, i)
                               : 0;
        // Something must follow the prefix: a letter or a digit, where the host begins.
        if (prefix == 0 || i + prefix >= length || !text.at(i + prefix).isLetterOrNumber()) {
            ++i;
            continue;
        }
        qsizetype end = i + prefix;
        while (end < length && !endsAddress(text.at(end)))
            ++end;
        end = trimmed(text, i, end);
        links.append({int(i), int(end - i)});
        i = end;
    }
    return links;
}

QUrl LinkFinder::url(QStringView address)
{
    const QString full = address.startsWith(WebPrefix, Qt::CaseInsensitive)
                             ? QStringLiteral("http://") + address.toString()
                             : address.toString();
    return QUrl(full, QUrl::TolerantMode);
}

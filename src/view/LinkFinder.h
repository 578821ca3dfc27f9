#pragma once

#include <QList>
#include <QStringView>

class QUrl;

// Characters [start, start + length) of a text.
struct TextSpan
{
    int start = 0;
    int length = 0;

    int end() const { return start + length; }
    friend bool operator==(const TextSpan& a, const TextSpan& b)
    {
        return a.start == b.start && a.length == b.length;
    }
};

// Web addresses in a line of chat: words that begin with "http://", "https://" or "www." (in any
// case). An address runs to the first blank, quote or angle bracket; the punctuation that ends a
// sentence after it, and a closing bracket it did not open, are not part of it.
class LinkFinder
{
public:
    // The addresses that begin at `from` or later; the character before `from` still decides
    // whether one begins a word there.
    static QList<TextSpan> find(QStringView text, int from = 0);
    // Whether the text holds a "://" or a "www.", without which it holds no address: a quick
    // test before looking closer.
    template <typename Ch>
    static bool mayHoldLink(const Ch* text, qsizetype length);
    // What the desktop opens for an address: "www." gets "http://" in front.
    static QUrl url(QStringView address);
};

template <typename Ch>
bool LinkFinder::mayHoldLink(const Ch* text, qsizetype length)
{
    // Either mark ends in a character that is rare in chat: look back from each of those.
    for (qsizetype i = 3; i < length; ++i) {
        const Ch ch = text[i];
        if (ch == Ch('/')) {
            if (text[i - 1] == Ch('/') && text[i - 2] == Ch(':'))
                return true;
        } else if (ch == Ch('.')) {
            // Or-ing 0x20 folds an ASCII capital onto its small letter.
            if ((text[i - 1] | 0x20) == 'w' && (text[i - 2] | 0x20) == 'w' &&
                (text[i - 3] | 0x20) == 'w')
                return true;
        }
    }
    return false;
}

#pragma once

#include <QList>
#include <QString>

class TIniFile;

// A list kept in confs.ini as a count key plus, for each entry, one key per part, named after
// the part's prefix, the entry's number (from 1, plain decimal) and the part's suffix: a suspect
// account is Lista/Acc<i> and Lista/Mot<i> under the count Lista/nL; a phrase entry is
// Respostas/F<n>, RF<n>1 to RF<n>3 and nRF<n> under Respostas/nRF. Entries are numbered without
// gaps, so deleting one moves every later entry down by one number.
class NumberedList final
{
public:
    struct Part
    {
        QString prefix;
        QString suffix;
    };

    // countOffset is what the count key holds beyond the number of entries (Canais/n holds one
    // more).
    NumberedList(QString section, QString countKey, QList<Part> parts, int countOffset = 0);

    QString section() const { return m_section; }
    QString countKey() const { return m_countKey; }
    // The key of one part (an index into the parts) of one entry.
    QString key(int part, int entry) const;

    // The number of entries: what the count key gives, none when it is missing, is no number or
    // is below the offset. A count above the highest number that holds a key of the list (raised
    // by hand) is taken as that highest number, since no entry above it can hold anything; the
    // keys are looked at once, so a count of two billion costs no more than a small one.
    int count(const TIniFile& ini) const;
    // The number of entries the count key gives, as stored: what a write that renumbers the
    // list follows (see remove).
    int storedCount(const TIniFile& ini) const;
    // The numbers 1..count that hold at least one key of the list, in ascending order.
    QList<int> storedEntries(const TIniFile& ini) const;

    // Deletes entry `entry` (from 1) in one batch, written once: the stored count drops by one,
    // every later entry moves down by one number and the keys of the last number are deleted.
    // Throws SettingsWriteError when the file cannot be written; nothing is stored then.
    //
    // An entry that moves takes its parts to the new number; a part it lacks is written there as
    // an empty value, as the list editors always did (readers take a missing key and an empty one
    // alike). Of a file edited by hand:
    // - an entry outside 1..storedCount (the list on screen no longer matches the file) is not
    //   deleted: nothing is written and the result is false, where moving "the rest" would drop
    //   the last entry instead;
    // - an entry that has no key at all (a count raised by hand) moves down as missing: the keys
    //   of its new number are deleted, and no empty keys are made up for it, so the work follows
    //   the keys stored, never the count;
    // - keys numbered above the stored count are left alone, as every reader ignores them.
    // A part worked out from the others (nRF<n>) moves like the rest; a caller that works it out
    // afresh writes it in a batch of its own around this call.
    bool remove(TIniFile& ini, int entry) const;

    // The numbers from..to that hold at least one key of the list, in ascending order: after a
    // removal in an open batch, the entries that moved down to from..count.
    QList<int> storedEntries(const TIniFile& ini, int from, int to) const;

    // The lists of confs.ini.
    static NumberedList suspectAccounts();      // Lista: nL, Acc<i>, Mot<i>
    static NumberedList phraseReplies();        // Respostas: nRF, F<n>, RF<n>1..3, nRF<n>
    static NumberedList whisperReplies();       // Respostas: nRW, W<n>, RW<n>1..3, nRW<n>
    static NumberedList synchronizedMessages(); // Timers: nTS, STimer<n>
    static NumberedList favouriteChannels();    // Canais: n (one more than the entries), c<i>

private:
    int highestStored(const TIniFile& ini) const;

    QString m_section;
    QString m_countKey;
    QList<Part> m_parts;
    int m_countOffset = 0;
};

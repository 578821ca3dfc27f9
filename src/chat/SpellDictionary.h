#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

class QThread;
class SpellChecker;

// The Brazilian Portuguese dictionary, loaded once for the whole program on a thread of its own
// (about 40 MB and 0.4 s) and then shared by every window on the main thread. It lives as long
// as the application object, which waits for a load still running when it goes.
class SpellDictionary final : public QObject
{
    Q_OBJECT
public:
    // The dictionary's name: its files are pt_BR.aff and pt_BR.dic.
    static const QString Name;

    // The program's one dictionary; needs the application object.
    static SpellDictionary* instance();
    // Where the files are looked for: beside the program (where a build for Windows puts them),
    // then the system's folder of Hunspell dictionaries.
    static QStringList folders();

    ~SpellDictionary() override;

    // Starts loading, unless a load has started already.
    void load();
    // The load has ended, with or without a dictionary.
    bool isLoaded() const { return m_loaded; }
    // The dictionary; nullptr until it is loaded, or when its files are missing.
    SpellChecker* checker() const { return m_checker.get(); }

Q_SIGNALS:
    // Emitted once, on the main thread, when the load has ended.
    void loaded();

private:
    explicit SpellDictionary(QObject* parent);

    QThread* m_thread = nullptr;
    // Written by the loading thread only, before it finishes.
    std::unique_ptr<SpellChecker> m_loading;
    std::unique_ptr<SpellChecker> m_checker;
    bool m_loaded = false;
};

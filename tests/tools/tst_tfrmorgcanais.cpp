#include "tools/TfrmOrgCanais.h"

#include <memory>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "IniFolder.h"
#include "ScriptedPrompts.h"

namespace {
const QStringList Three = {"[Canais]", "n=4", "c1=Chat", "c2=R&D", "c3=Clan BR"};
} // namespace

class TestTfrmOrgCanais : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<IniFolder> m_ini;
    ScriptedPrompts m_prompts;

    template <typename T = QWidget>
    static T* child(QDialog& dialog, const char* name)
    {
        return dialog.findChild<T*>(QLatin1String(name));
    }
    static QStringList entries(QDialog& dialog)
    {
        QStringList names;
        auto* list = child<QListWidget>(dialog, "lstCanais");
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    }
    // "add:<name>", "enter:<name>" (typed, then Enter in the field), "remove:<row>" (-1: nothing
    // selected), "remove" (again, whatever the list selects by then), "ok" or "cancel".
    static void work(QDialog& dialog, const QString& steps)
    {
        auto* list = child<QListWidget>(dialog, "lstCanais");
        for (const QString& step : steps.split(QLatin1Char(','))) {
            const QString arg = step.section(QLatin1Char(':'), 1);
            if (step.startsWith(QLatin1String("add:"))) {
                QTest::keyClicks(child(dialog, "txtCanal"), arg);
                QTest::mouseClick(child(dialog, "btnAdd"), Qt::LeftButton);
            } else if (step.startsWith(QLatin1String("enter:"))) {
                QTest::keyClicks(child(dialog, "txtCanal"), arg);
                QTest::keyClick(child(dialog, "txtCanal"), Qt::Key_Return);
            } else if (step == QLatin1String("remove")) {
                QTest::mouseClick(child(dialog, "btnRemover"), Qt::LeftButton);
            } else if (step.startsWith(QLatin1String("remove:"))) {
                list->clearSelection();
                // As a click does: the row becomes current and selected.
                if (arg.toInt() >= 0)
                    list->setCurrentRow(arg.toInt());
                QTest::mouseClick(child(dialog, "btnRemover"), Qt::LeftButton);
            } else if (step == QLatin1String("ok")) {
                QTest::mouseClick(child(dialog, "btnOK"), Qt::LeftButton);
            } else if (step == QLatin1String("cancel")) {
                QTest::mouseClick(child(dialog, "btnCancelar"), Qt::LeftButton);
            }
        }
    }

private Q_SLOTS:
    void init()
    {
        m_ini = std::make_unique<IniFolder>();
        QVERIFY(m_ini->isValid());
        m_prompts.errors.clear();
    }
    void cleanup() { m_ini.reset(); }

    void controls()
    {
        TfrmOrgCanais dialog(m_ini->path(), m_prompts);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Canais favoritos..."));
        QCOMPARE(dialog.size(), QSize(378, 267));
        QCOMPARE(child<QLabel>(dialog, "imgTopo")->geometry(), QRect(0, 0, 378, 40));
        QCOMPARE(child<QLabel>(dialog, "Label1")->text(), QStringLiteral("Canais:"));
        QCOMPARE(child<QPushButton>(dialog, "btnAdd")->text(), QStringLiteral("Adicionar"));
        QCOMPARE(child<QPushButton>(dialog, "btnRemover")->text(), QStringLiteral("Remover"));
        QVERIFY(child<QPushButton>(dialog, "btnOK")->isDefault());
        QCOMPARE(child<QPushButton>(dialog, "btnCancelar")->text(), QStringLiteral("Cancelar"));
        // The field sits under the list, the buttons right of them.
        const QRect list = child(dialog, "lstCanais")->geometry();
        QVERIFY(child(dialog, "txtCanal")->geometry().top() > list.bottom());
        QVERIFY(child(dialog, "btnRemover")->geometry().left() > list.right());
        QVERIFY(child(dialog, "btnAdd")->geometry().left() > list.right());
    }

    void opensWithTheStoredList_data()
    {
        QTest::addColumn<QStringList>("ini");
        QTest::addColumn<QStringList>("listed");

        // clang-format off
        QTest::newRow("three") << Three << QStringList{"Chat", "R&D", "Clan BR"};
        QTest::newRow("keys above the count ignored") << QStringList{"[Canais]", "n=2", "c1=a", "c2=old"} << QStringList{"a"};
        QTest::newRow("n = 1") << QStringList{"[Canais]", "n=1", "c1=a"} << QStringList{};
        QTest::newRow("count missing") << QStringList{"[Canais]", "c1=a"} << QStringList{};
        QTest::newRow("missing entry listed empty") << QStringList{"[Canais]", "n=4", "c1=a", "c3=c"} << QStringList{"a", "", "c"};
        QTest::newRow("count raised by hand ends at the last entry") << QStringList{"[Canais]", "n=2147483647", "c1=a", "c2=b"} << QStringList{"a", "b"};
        QTest::newRow("no file") << QStringList{} << QStringList{};
        // clang-format on
    }
    void opensWithTheStoredList()
    {
        QFETCH(QStringList, ini);
        m_ini->put(IniFolder::lines(ini));
        TfrmOrgCanais dialog(m_ini->path(), m_prompts);
        QTEST(entries(dialog), "listed");
    }

    // Nothing is written before "OK"; "OK" stores the whole list.
    void editing_data()
    {
        QTest::addColumn<QStringList>("ini");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QStringList>("listed"); // before the dialog closes
        QTest::addColumn<QStringList>("after");  // the file; empty: as before

        // clang-format off
        QTest::newRow("added") << Three << "add:Op Sala,ok" << QStringList{"Chat", "R&D", "Clan BR", "Op Sala"} << QStringList{"[Canais]", "n=5", "c1=Chat", "c2=R&D", "c3=Clan BR", "c4=Op Sala"};
        QTest::newRow("empty name not added") << Three << "add:,ok" << QStringList{"Chat", "R&D", "Clan BR"} << QStringList{};
        QTest::newRow("Enter in the field adds") << Three << "enter:Op Sala,ok" << QStringList{"Chat", "R&D", "Clan BR", "Op Sala"} << QStringList{"[Canais]", "n=5", "c1=Chat", "c2=R&D", "c3=Clan BR", "c4=Op Sala"};
        QTest::newRow("Enter in an empty field adds nothing") << Three << "enter:,ok" << QStringList{"Chat", "R&D", "Clan BR"} << QStringList{};
        QTest::newRow("second Remover removes nothing more") << Three << "remove:1,remove,ok" << QStringList{"Chat", "Clan BR"} << QStringList{"[Canais]", "n=3", "c1=Chat", "c2=Clan BR", "c3=Clan BR"};
        QTest::newRow("last removed, then Remover again") << Three << "remove:2,remove,ok" << QStringList{"Chat", "R&D"} << QStringList{"[Canais]", "n=3", "c1=Chat", "c2=R&D", "c3=Clan BR"};
        QTest::newRow("same name twice") << QStringList{} << "add:Chat,add:Chat,ok" << QStringList{"Chat", "Chat"} << QStringList{"[Canais]", "n=3", "c1=Chat", "c2=Chat"};
        QTest::newRow("middle removed, later ones move up") << Three << "remove:1,ok" << QStringList{"Chat", "Clan BR"} << QStringList{"[Canais]", "n=3", "c1=Chat", "c2=Clan BR", "c3=Clan BR"};
        QTest::newRow("no selection removes nothing") << Three << "remove:-1,ok" << QStringList{"Chat", "R&D", "Clan BR"} << QStringList{};
        QTest::newRow("all removed") << Three << "remove:0,remove:0,remove:0,ok" << QStringList{} << QStringList{"[Canais]", "n=1", "c1=Chat", "c2=R&D", "c3=Clan BR"};
        QTest::newRow("cancelled after adding and removing") << Three << "add:x,remove:0,cancel" << QStringList{"R&D", "Clan BR", "x"} << QStringList{};
        QTest::newRow("cancelled, no file made") << QStringList{} << "add:x,cancel" << QStringList{"x"} << QStringList{};
        // clang-format on
    }
    void editing()
    {
        QFETCH(QStringList, ini);
        QFETCH(QString, steps);
        QFETCH(QStringList, after);
        m_ini->put(IniFolder::lines(ini));
        TfrmOrgCanais dialog(m_ini->path(), m_prompts);
        dialog.show();
        const bool ok = steps.endsWith(QLatin1String(",ok"));
        work(dialog, steps.left(steps.lastIndexOf(QLatin1Char(','))));
        QTEST(entries(dialog), "listed");
        QCOMPARE(child<QLineEdit>(dialog, "txtCanal")->text(), QString());
        QCOMPARE(m_ini->contents(), IniFolder::lines(ini));
        work(dialog, ok ? QStringLiteral("ok") : QStringLiteral("cancel"));
        QCOMPARE(dialog.result(), int(ok ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE(m_ini->contents(),
                 after.isEmpty() ? IniFolder::lines(ini) : IniFolder::lines(after));
        QVERIFY(m_prompts.errors.isEmpty());
    }

    // A list that cannot be stored: the error is shown, nothing of it is in the file, and the
    // dialog stays open with the list, to try again or cancel.
    void refusedWriteKeepsTheDialogOpen()
    {
        m_ini->put(IniFolder::lines(Three));
        QVERIFY(QFile::setPermissions(m_ini->path(), QFile::ReadOwner));
        TfrmOrgCanais dialog(m_ini->path(), m_prompts);
        dialog.show();
        work(dialog, QStringLiteral("remove:0,add:novo,ok"));
        QCOMPARE(m_prompts.errors.size(), 1);
        QVERIFY(m_prompts.errors.first().startsWith(QLatin1String("Unable to write to ")));
        QVERIFY(dialog.isVisible());
        QCOMPARE(entries(dialog), (QStringList{"R&D", "Clan BR", "novo"}));
        QCOMPARE(m_ini->contents(), IniFolder::lines(Three));
        QVERIFY(QFile::setPermissions(m_ini->path(), QFile::ReadOwner | QFile::WriteOwner));
        work(dialog, QStringLiteral("ok"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_ini->contents(),
                 IniFolder::lines({"[Canais]", "n=4", "c1=R&D", "c2=Clan BR", "c3=novo"}));
    }
};

QTEST_MAIN(TestTfrmOrgCanais)
#include "tst_tfrmorgcanais.moc"

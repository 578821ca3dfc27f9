#include "tools/TfrmAtalhos.h"

#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "IniFolder.h"
#include "ScriptedPrompts.h"

class TestTfrmAtalhos : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<IniFolder> m_ini;
    ScriptedPrompts m_prompts;

    template <typename T>
    static T* child(QDialog& dialog, const char* name)
    {
        return dialog.findChild<T*>(QLatin1String(name));
    }
    static void choose(QDialog& dialog, QChar letter)
    {
        auto* combo = child<QComboBox>(dialog, "cmbAtalho");
        combo->setCurrentIndex(combo->findText(QStringLiteral("CTRL + ALT + ") + letter));
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
        TfrmAtalhos dialog(m_ini->path(), m_prompts);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Configurar atalhos ..."));
        QCOMPARE(dialog.size(), QSize(355, 222));
        QCOMPARE(child<QLabel>(dialog, "imgTopo")->geometry(), QRect(0, 0, 355, 40));
        QCOMPARE(child<QLabel>(dialog, "Label1")->text(), QStringLiteral("Atalho:"));
        QCOMPARE(child<QLabel>(dialog, "Label2")->text(), QStringLiteral("Comando:"));
        QCOMPARE(child<QCheckBox>(dialog, "chkAuto")->text(),
                 QStringLiteral("Enviar automaticamente"));
        QVERIFY(child<QPushButton>(dialog, "btnOK")->isDefault());
        QCOMPARE(child<QPushButton>(dialog, "btnCancelar")->text(), QStringLiteral("Cancelar"));
        auto* combo = child<QComboBox>(dialog, "cmbAtalho");
        QVERIFY(!combo->isEditable());
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        QStringList expected;
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            if (letter != 'N')
                expected << QStringLiteral("CTRL + ALT + ") + QLatin1Char(letter);
        }
        QCOMPARE(entries, expected);
        QCOMPARE(combo->currentIndex(), 0);
    }

    // What the field and the check box show for the letter chosen, and what that leaves in the
    // file: opening and choosing write back only what was read, except that an empty phrase
    // loses its keys.
    void showsTheChosenLetter_data()
    {
        QTest::addColumn<QStringList>("ini");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("check");     // "on", "off" or "disabled" (always unchecked)
        QTest::addColumn<QStringList>("after"); // the file afterwards; empty: as before

        // clang-format off
        QTest::newRow("opens on A, sent at once") << QStringList{"[Atalhos]", "AtalhoA=oi", "AtalhoASend=1"} << "" << "oi" << "on" << QStringList{};
        QTest::newRow("appended") << QStringList{"[Atalhos]", "AtalhoB=oi", "AtalhoBSend=0"} << "B" << "oi" << "off" << QStringList{};
        QTest::newRow("send flag missing") << QStringList{"[Atalhos]", "AtalhoB=oi"} << "B" << "oi" << "off" << QStringList{};
        QTest::newRow("no binding") << QStringList{"[Atalhos]", "AtalhoA=oi", "AtalhoASend=1"} << "C" << "" << "disabled" << QStringList{};
        QTest::newRow("no file") << QStringList{} << "Z" << "" << "disabled" << QStringList{};
        QTest::newRow("letter after the missing N") << QStringList{"[Atalhos]", "AtalhoO=o", "AtalhoOSend=1"} << "O" << "o" << "on" << QStringList{};
        QTest::newRow("key names in another case, written back") << QStringList{"[atalhos]", "atalhod=x", "ATALHODSEND=1"} << "D" << "x" << "on" << QStringList{"[atalhos]", "AtalhoD=x", "AtalhoDSend=1"};
        QTest::newRow("empty phrase loses its keys") << QStringList{"[Atalhos]", "AtalhoE=", "AtalhoESend=1", "AtalhoF=f"} << "E" << "" << "disabled" << QStringList{"[Atalhos]", "AtalhoF=f"};
        QTest::newRow("same text as the letter before") << QStringList{"[Atalhos]", "AtalhoA=", "AtalhoB=", "AtalhoBSend=1"} << "B" << "" << "disabled" << QStringList{"[Atalhos]"};
        // clang-format on
    }
    void showsTheChosenLetter()
    {
        QFETCH(QStringList, ini);
        QFETCH(QString, letter);
        QFETCH(QString, field);
        QFETCH(QString, check);
        QFETCH(QStringList, after);
        m_ini->put(IniFolder::lines(ini));
        TfrmAtalhos dialog(m_ini->path(), m_prompts);
        if (!letter.isEmpty())
            choose(dialog, letter.at(0));
        QCOMPARE(child<QLineEdit>(dialog, "txtFrase")->text(), field);
        auto* chkAuto = child<QCheckBox>(dialog, "chkAuto");
        const QString state = !chkAuto->isEnabled()  ? QStringLiteral("disabled")
                              : chkAuto->isChecked() ? QStringLiteral("on")
                                                     : QStringLiteral("off");
        QCOMPARE(state, check);
        if (check == QLatin1String("disabled"))
            QVERIFY(!chkAuto->isChecked());
        QCOMPARE(m_ini->contents(),
                 after.isEmpty() ? IniFolder::lines(ini) : IniFolder::lines(after));
        QVERIFY(m_prompts.errors.isEmpty());
    }

    // Every change is in the file at once; "Cancelar" takes none of it back.
    void writesEachChange_data()
    {
        QTest::addColumn<QStringList>("ini");
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QString>(
            "steps"); // "type:<text>", "set:<text>", "clear", "check", "uncheck"
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("enabled"); // chkAuto afterwards

        // clang-format off
        QTest::newRow("typed phrase") << QStringList{} << "B" << "type:bom dia" << QStringList{"[Atalhos]", "AtalhoB=bom dia"} << true;
        QTest::newRow("leading blanks stored") << QStringList{} << "B" << "type:  oi" << QStringList{"[Atalhos]", "AtalhoB=  oi"} << true;
        QTest::newRow("trailing blanks stored") << QStringList{} << "B" << "type:oi  " << QStringList{"[Atalhos]", "AtalhoB=oi  "} << true;
        QTest::newRow("blanks alone store nothing") << QStringList{} << "B" << "type:   " << QStringList{} << false;
        QTest::newRow("checked: sent at once") << QStringList{} << "K" << "type:/away,check" << QStringList{"[Atalhos]", "AtalhoK=/away", "AtalhoKSend=1"} << true;
        QTest::newRow("unchecked again") << QStringList{"[Atalhos]", "AtalhoK=x", "AtalhoKSend=1"} << "K" << "uncheck" << QStringList{"[Atalhos]", "AtalhoK=x", "AtalhoKSend=0"} << true;
        QTest::newRow("emptied: both keys go") << QStringList{"[Atalhos]", "AtalhoK=x", "AtalhoKSend=1", "AtalhoL=y"} << "K" << "clear" << QStringList{"[Atalhos]", "AtalhoL=y"} << false;
        QTest::newRow("blanks left: both keys go") << QStringList{"[Atalhos]", "AtalhoK=x", "AtalhoKSend=1"} << "K" << "set:  " << QStringList{"[Atalhos]"} << false;
        QTest::newRow("control characters left: both keys go") << QStringList{"[Atalhos]", "AtalhoK=x", "AtalhoKSend=1"} << "K" << "set:\t\x01 " << QStringList{"[Atalhos]"} << false;
        QTest::newRow("phrase between control characters kept") << QStringList{} << "K" << "set:\tx\t" << QStringList{"[Atalhos]", "AtalhoK=\tx\t"} << true;
        QTest::newRow("other letters untouched") << QStringList{"[Atalhos]", "AtalhoA=a", "AtalhoASend=1"} << "Z" << "type:z,check" << QStringList{"[Atalhos]", "AtalhoA=a", "AtalhoASend=1", "AtalhoZ=z", "AtalhoZSend=1"} << true;
        // clang-format on
    }
    void writesEachChange()
    {
        QFETCH(QStringList, ini);
        QFETCH(QString, letter);
        QFETCH(QString, steps);
        QFETCH(QStringList, after);
        QFETCH(bool, enabled);
        m_ini->put(IniFolder::lines(ini));
        {
            TfrmAtalhos dialog(m_ini->path(), m_prompts);
            dialog.show();
            choose(dialog, letter.at(0));
            auto* txtFrase = child<QLineEdit>(dialog, "txtFrase");
            auto* chkAuto = child<QCheckBox>(dialog, "chkAuto");
            for (const QString& step : steps.split(QLatin1Char(','))) {
                if (step.startsWith(QLatin1String("type:")))
                    QTest::keyClicks(txtFrase, step.mid(5));
                else if (step.startsWith(QLatin1String("set:")))
                    txtFrase->setText(step.mid(4));
                else if (step == QLatin1String("clear"))
                    txtFrase->clear();
                else
                    QTest::mouseClick(chkAuto, Qt::LeftButton);
                if (step == QLatin1String("check"))
                    QVERIFY(chkAuto->isChecked());
                if (step == QLatin1String("uncheck"))
                    QVERIFY(!chkAuto->isChecked());
            }
            QCOMPARE(chkAuto->isEnabled(), enabled);
            if (!enabled)
                QVERIFY(!chkAuto->isChecked());
            QTest::mouseClick(child<QPushButton>(dialog, "btnCancelar"), Qt::LeftButton);
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        QCOMPARE(m_ini->contents(), IniFolder::lines(after));
        QVERIFY(m_prompts.errors.isEmpty());
    }

    // A file that cannot be written: each refused change is reported and the dialog goes on.
    void refusedWriteIsReported()
    {
        const QByteArray before = IniFolder::lines({"[Atalhos]", "AtalhoB=b"});
        m_ini->put(before);
        QVERIFY(QFile::setPermissions(m_ini->path(), QFile::ReadOwner));
        TfrmAtalhos dialog(m_ini->path(), m_prompts);
        dialog.show();
        choose(dialog, QLatin1Char('C'));
        QTest::keyClicks(child<QLineEdit>(dialog, "txtFrase"), QStringLiteral("xy"));
        QCOMPARE(m_prompts.errors.size(), 2);
        QVERIFY(m_prompts.errors.first().startsWith(QLatin1String("Unable to write to ")));
        QCOMPARE(m_ini->contents(), before);
    }
};

QTEST_MAIN(TestTfrmAtalhos)
#include "tst_tfrmatalhos.moc"

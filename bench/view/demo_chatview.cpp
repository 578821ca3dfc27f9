// A pane holding a million styled lines, for looking at by hand: scroll, select, double click,
// resize, and press F3 to search upward for "ação".
#include <QApplication>
#include <QShortcut>

#include "view/ChatView.h"
#include "view/StyleTable.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    StyleTable styles;
    ChatView view(&styles);
    view.setWindowTitle(QStringLiteral("ChatView — 1 000 000 linhas"));
    view.setTextMargins(2, 2, 2, 10);
    view.resize(640, 480);
    for (int i = 0; i < 1000000; ++i) {
        const QString stamp = QStringLiteral("[21:%1:%2] ")
                                  .arg((i / 60) % 60, 2, 10, QLatin1Char('0'))
                                  .arg(i % 60, 2, 10, QLatin1Char('0'));
        view.appendLine(QString(), -1);
        switch (i % 7) {
        case 0:
            view.appendText(stamp + QStringLiteral("<OP_admin> atenção: regra nº %1").arg(i),
                            StyleTable::OP);
            break;
        case 1:
            view.appendText(QStringLiteral("Você entrou no canal Brasil."), StyleTable::Info);
            break;
        case 2:
            view.appendText(QStringLiteral("Comandos:"), StyleTable::Info);
            view.appendTab(StyleTable::Info);
            view.appendText(QStringLiteral("/join"), StyleTable::Usuario);
            view.appendTab(StyleTable::Info);
            view.appendText(QStringLiteral("/whois"), StyleTable::Usuario);
            break;
        case 3:
            view.appendText(QStringLiteral("<jogador%1 dança feliz> ").arg(i % 50),
                            StyleTable::Emote);
            break;
        default:
            view.appendText(stamp, StyleTable::Horario);
            view.appendText(QStringLiteral("<user%1> ").arg(i % 100), StyleTable::Acc);
            view.appendText(QStringLiteral("olá pessoal, mensagem %1 — uma linha um pouco mais "
                                           "longa para quebrar na largura da janela, ação € 日本")
                                .arg(i),
                            StyleTable::Usuario);
            break;
        }
    }
    view.reformat();
    view.scrollToBottom();
    QShortcut find(QKeySequence(Qt::Key_F3), &view);
    QObject::connect(&find, &QShortcut::activated, &view, [&view] {
        ChatView::FindOptions up;
        up.down = false;
        view.findText(QStringLiteral("ação"), up);
    });
    view.show();
    return app.exec();
}

// The board window: what it wires, its outline, which presses move it, its icon and the icon's
// menu, pasting into its boxes, the toolkit's texts, and one copy per data file.
#include "apoio/Apoio.h"
#include "shell/Bandeja.h"
#include "shell/Controles.h"
#include "shell/Falhas.h"
#include "shell/SistemaDeJanelas.h"
#include "shell/UmaCopia.h"

#include <QAccessible>
#include <QClipboard>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

using Passo = QPair<int, qint64>; // activation, milliseconds

class TstJanela : public ComPrancheta
{
    Q_OBJECT
public:
    TstJanela()
        : ComPrancheta(Espera::Exposta, QString())
    {
    }

private slots:
    // First: once a test has ended the program (QCoreApplication::exit), later modal waits return at once.
    void textosDoToolkitEmPortugues();
    void estadoInicial();
    void mascaraEPressoes();
    void cliquesDoIcone_data();
    void cliquesDoIcone();
    void iconeEMenu();
    void colarNasCaixas_data();
    void colarNasCaixas();
    void umaCopiaPorArquivo();
    void leitorDeTela();
};

void TstJanela::textosDoToolkitEmPortugues()
{
    // Whatever the session's language: the catalogue is the program's own, not the system's.
    QLocale::setDefault(QLocale::c());
    falarPortugues();
    const std::unique_ptr<QMenu> menu(controle<QLineEdit>("txtFazelaNome")->createStandardContextMenu());
    QStringList textos;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            textos << a->text().section(QLatin1Char('\t'), 0, 0);
    QCOMPARE(textos,
        QStringList({ "&Desfazer", "&Refazer", "Recor&tar", "&Copiar", "C&olar", "Excluir", "Selecionar tudo" }));
    QCOMPARE(QCoreApplication::translate("QScrollBar", "Scroll here"), "Rolar aqui");
    // The failure report is answered with the board's own word.
    QString botao;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* relatorio = qobject_cast<QMessageBox*>(w); relatorio && relatorio->isVisible()) {
                botao = relatorio->button(QMessageBox::Ok)->text();
                relatorio->button(QMessageBox::Ok)->click();
            }
    });
    reportarFalha("Falha ao abrir o banco");
    QCOMPARE(botao, "&Okay");
}

void TstJanela::estadoInicial()
{
    // What shows, and where, is tst_aparencia's. The keyboard order: the board's own controls,
    // then each panel's in its order.
    QWidget* foco = controle("PicFocus");
    QVERIFY(foco->hasFocus());
    QStringList ordem;
    QWidget* w = foco;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            ordem << w->objectName();
        w = w->nextInFocusChain();
    } while (w != foco);
    QCOMPARE(ordem.join(' '),
        "PicFocus PicPrancheta cmbGrupo VscGrade CmdNewGrupo CmdDelGrupo CmdNewFazela CmdSair txtGrupoGrupo "
        "CmdGrupoIncluir ImgGrupoSair CmdGrupoCancel CmdMensagemConfirmar CmdMensagemOkay CmdMensagemCancelar "
        "ImgMensagemSair CmbFazelaPrior txtFazelaNome txtFazelaDescricao CmdFazelaIncluir CmdFazelaAlterar "
        "CmdFazelaExcluir CmdFazelaSair");
    // The priority list's positions are the stored priorities less one.
    QCOMPARE(
        itens(controle<QComboBox>("CmbFazelaPrior")), QStringList({ "Nenhuma", "Baixa", "Média", "Alta", "Urgente" }));
    // A list box makes its drop-down list when it is first needed, in the box's own font.
    for (const char* nome : { "cmbGrupo", "CmbFazelaPrior" }) {
        auto* lista = controle<QComboBox>(nome);
        QVERIFY(!lista->findChild<QAbstractItemView*>());
        QCOMPARE(lista->view()->font(), lista->font());
    }
    QCOMPARE(controle("CmdSair")->cursor().shape(), Qt::BitmapCursor);
    // The panels lie over the board (message over task over group); an open panel puts the board
    // out of reach and leaves itself usable.
    const QObjectList filhos = p().children();
    QVERIFY(filhos.indexOf(controle("FrmMensagem")) > filhos.indexOf(controle("FrmFazela")));
    QVERIFY(filhos.indexOf(controle("FrmFazela")) > filhos.indexOf(controle("FrmGrupo")));
    QVERIFY(filhos.indexOf(controle("FrmGrupo")) > filhos.indexOf(controle("PicPrancheta")));
    clicar("CmdNewGrupo");
    QVERIFY(!controle("cmbGrupo")->isEnabled() && !controle("CmdNewFazela")->isEnabled());
    QVERIFY(controle("txtGrupoGrupo")->isEnabled() && controle("CmdMensagemConfirmar")->isEnabled());
    clicar("CmdGrupoCancel");
    QVERIFY(controle("CmdNewFazela")->isEnabled());
    QVERIFY(foco->hasFocus()); // a click gave the image no focus, and the keyboard is back
    // Space on an image button the keyboard reached acts as its click.
    controle("CmdNewGrupo")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(controle("CmdNewGrupo"), Qt::Key_Space);
    QVERIFY(controle("FrmGrupo")->isVisible() && !controle("CmdNewFazela")->isEnabled());
    clicar("CmdGrupoCancel");
}

void TstJanela::mascaraEPressoes()
{
    // Where no window system takes the outline (here), Qt's mask holds it.
    QVERIFY(!p().mask().contains(QPoint(0, 300)) && p().mask().contains(QPoint(12, 300)));
    // The controls' presses are theirs, even those a control leaves unused; the bare picture, also
    // between a row's mark and its label, takes any button.
    auto* prancheta = controle<CaixaImagem>("PicPrancheta");
    QSignalSpy pressoes(prancheta, &CaixaImagem::pressionada);
    QTest::mousePress(controle("Linha(3)"), Qt::RightButton);
    QTest::mousePress(controle("Vek1"), Qt::MiddleButton);
    QTest::mouseDClick(controle("ImgLinha(0)"), Qt::LeftButton);
    QCOMPARE(pressoes.size(), 0);
    const QPoint entreMarcaELinha = controle("Linha(5)")->mapTo(prancheta, QPoint(-1, 5));
    for (QPoint ponto : { QPoint(10, 300), entreMarcaELinha })
        for (Qt::MouseButton botao : { Qt::LeftButton, Qt::RightButton, Qt::MiddleButton })
            QTest::mouseClick(p().windowHandle(), botao, {}, prancheta->mapTo(&p(), ponto));
    QCOMPARE(pressoes.size(), 6);
}

void TstJanela::cliquesDoIcone_data()
{
    QTest::addColumn<QList<Passo>>("passos");
    QTest::addColumn<QString>("gestos"); // - nothing, 2 a double-click, M the menu
    const int T = QSystemTrayIcon::Trigger, D = QSystemTrayIcon::DoubleClick, C = QSystemTrayIcon::Context,
              M = QSystemTrayIcon::MiddleClick;
    QTest::newRow("um clique") << QList<Passo> { { T, 0 } } << "-";
    QTest::newRow("duplo, XEmbed") << QList<Passo> { { T, 0 }, { D, 90 } } << "-2";
    QTest::newRow("duplo, StatusNotifierItem") << QList<Passo> { { T, 0 }, { T, 90 } } << "-2";
    QTest::newRow("duplo contado duas vezes") << QList<Passo> { { T, 0 }, { T, 90 }, { D, 95 } } << "-2-";
    QTest::newRow("dois cliques lentos") << QList<Passo> { { T, 0 }, { T, 401 } } << "--";
    QTest::newRow("triplo") << QList<Passo> { { T, 0 }, { T, 90 }, { T, 180 } } << "-2-";
    QTest::newRow("direito e meio") << QList<Passo> { { C, 0 }, { C, 50 }, { M, 60 } } << "MM-";
}

void TstJanela::cliquesDoIcone()
{
    QFETCH(QList<Passo>, passos);
    QFETCH(QString, gestos);
    CliquesDoIcone cliques(400);
    QString obtidos;
    for (const Passo& p : passos)
        obtidos += "-2M"[int(cliques.gesto(QSystemTrayIcon::ActivationReason(p.first), p.second))];
    QCOMPARE(obtidos, gestos);
}

void TstJanela::iconeEMenu()
{
    Prancheta& p = this->p();
    auto* bandeja = p.findChild<Bandeja*>();
    auto* icone = bandeja->findChild<QSystemTrayIcon*>();
    QVERIFY(icone && !bandeja->presente()); // no notification area here
    // A double-click brings a hidden board back, then keeps it on top; the close image takes it off.
    p.hide();
    emit icone->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(p.isVisible() && !p.mantidaAcima());
    emit icone->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(p.isVisible() && p.mantidaAcima());
    // Without a notification area the close image leaves the board on the task bar, and a
    // double-click brings it back from there too. (Where nothing keeps a minimized window, weston or
    // any native Wayland client, it stays.)
    clicar("CmdSair");
    QTRY_COMPARE(p.isMinimized(), p.findChild<SistemaDeJanelas*>()->podeMinimizar());
    QVERIFY(!p.mantidaAcima() && p.isVisible());
    emit icone->activated(QSystemTrayIcon::DoubleClick);
    QTRY_VERIFY(!p.isMinimized());
    // The right button opens the menu, hidden board or not, with its one item, which ends all.
    p.hide();
    emit icone->activated(QSystemTrayIcon::Context);
    QMenu* menu = bandeja->menu();
    QTRY_VERIFY(menu->isVisible());
    // Carried by a hidden form that task bars could list: called as the program is.
    QCOMPARE(menu->parentWidget()->objectName(), QStringLiteral("FormMenu"));
    QCOMPARE(menu->parentWidget()->windowTitle(), QStringLiteral("Fazelas"));
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("&Encerrar"));
    menu->hide();
    QTimer::singleShot(0, menu->actions().first(), &QAction::trigger);
    QCOMPARE(QCoreApplication::exec(), 0); // with success
    QVERIFY(!bandeja->findChild<QSystemTrayIcon*>());
    // Closed through the window manager without a notification area, the program ends.
    QVERIFY(!p.close());
}

void TstJanela::colarNasCaixas_data()
{
    // clang-format off
    QTest::addColumn<QString>("colado");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("descricao");
    const QChar nul(0);
    QTest::newRow("NUL") << QStringLiteral("a%1b%1").arg(nul) << "ab" << "ab";
    QTest::newRow("controles e tab") << "a\tb\x01" << "a\tb\x01" << "a\tb\x01";
    QTest::newRow("separadores") << QStringLiteral("a\u00a0b\u2028c\r\nd") << QStringLiteral("a\u00a0b\u2028c\r\nd")
        << QStringLiteral("a\u00a0b\u2028c\nd");
    QTest::newRow("meio emoji no limite") << QString(49, 'x') + "🙂" << QString(49, 'x') << QString(49, 'x') + "🙂";
    // clang-format on
}

// Pasted text is kept as pasted, less what the database cannot hold (NUL) and what the name box
// cannot hold (past 50, and half a character).
void TstJanela::colarNasCaixas()
{
    QFETCH(QString, colado);
    QFETCH(QString, nome);
    QFETCH(QString, descricao);
    QGuiApplication::clipboard()->setText(colado);
    auto* caixaNome = controle<QLineEdit>("txtFazelaNome");
    auto* caixaDescricao = controle<CaixaTextoMulti>("txtFazelaDescricao");
    caixaNome->clear();
    caixaNome->paste();
    QCOMPARE(caixaNome->text(), nome);
    caixaDescricao->clear();
    caixaDescricao->paste();
    QCOMPARE(caixaDescricao->text(), descricao);
}

void TstJanela::umaCopiaPorArquivo()
{
    const QString arquivo = m_banco->arquivo();
    UmaCopia primeira(arquivo);
    QCOMPARE(primeira.tomar(), UmaCopia::Resultado::Tomada);
    primeira.atender();
    QSignalSpy tocadas(&primeira, &UmaCopia::tocada);
    // A copy that has run for an hour holds its lock as firmly as a new one.
    QFile trava(UmaCopia::arquivoDaTrava(arquivo));
    QVERIFY(trava.open(QIODevice::ReadOnly));
    QVERIFY(trava.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    trava.close();
    // A second start gives way and rings the first.
    UmaCopia segunda(arquivo);
    QCOMPARE(segunda.tomar(), UmaCopia::Resultado::OutraCopia);
    QVERIFY(segunda.tocar());
    QTRY_COMPARE(tocadas.size(), 1);
    // Another data file is another board.
    BancoDeTeste outra;
    UmaCopia terceira(outra.arquivo());
    QCOMPARE(terceira.tomar(), UmaCopia::Resultado::Tomada);
    // What a copy killed while running leaves: its lock, naming a process id since given to another
    // program (here, this one), which holds no lock on it.
    primeira.soltar();
    QFile morta(UmaCopia::arquivoDaTrava(arquivo));
    QVERIFY(morta.open(QIODevice::WriteOnly)
        && morta.write(
               QStringLiteral("%1\n%2\n%3\n")
                   .arg(QCoreApplication::applicationPid())
                   .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName(), QSysInfo::machineHostName())
                   .toUtf8())
            > 0);
    morta.close();
    UmaCopia depois(arquivo);
    QCOMPARE(depois.tomar(), UmaCopia::Resultado::Tomada);
}

// What a screen reader is told of the board's own controls (that it is told of changes as they
// happen, the end-to-end case caso_leitor_de_tela checks through AT-SPI).
void TstJanela::leitorDeTela()
{
    const auto interface = [this](const char* nome) { return QAccessible::queryAccessibleInterface(controle(nome)); };
    QAccessibleInterface* novoGrupo = interface("CmdNewGrupo");
    QCOMPARE(novoGrupo->role(), QAccessible::Button);
    QCOMPARE(novoGrupo->text(QAccessible::Name), QStringLiteral("Novo grupo"));
    QVERIFY(interface("txtFazelaNome")->text(QAccessible::Name).startsWith(QStringLiteral("Nome da Fazela")));
    // A press through the screen reader acts as a click.
    novoGrupo->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(!controle("CmdNewFazela")->isEnabled());
    clicar("CmdGrupoCancel");
}

QTEST_MAIN(TstJanela)
#include "tst_janela.moc"

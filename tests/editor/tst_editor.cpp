// The task panel on its own, driven through its real controls against a real file: the keyboard's
// way through it, add, change, delete, close, the empty name, and a write the file refuses.
#include "apoio/Apoio.h"
#include "editor/PainelFazela.h"
#include "message/PainelMensagem.h"
#include "shell/Controles.h"
#include "shell/Desdobramento.h"

#include <QPushButton>

class TstEditor : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup()
    {
        m_janela.reset();
        m_banco.reset();
    }
    void incluirSoComOTeclado_data();
    void incluirSoComOTeclado();
    void nomeVazio_data();
    void nomeVazio();
    void alterarEExcluir();
    void falhaAoGravarMantemOPainel_data();
    void falhaAoGravarMantemOPainel();

private:
    template <class T = QWidget> T* c(const char* nome) { return m_janela->findChild<T*>(QString::fromLatin1(nome)); }
    QList<QVariantList> fazelas() const { return m_banco->linhas("Select * from Fazelas Order By Codigo"); }
    Fazela fazela(int64_t codigo) const
    {
        const QVariantList l = m_banco
                                   ->linhas("Select Codigo, Fazela, ifnull(Descricao, ''), Prioridade from Fazelas "
                                            "where Codigo = ?",
                                       { codigo })
                                   .value(0);
        return { l.value(0).toLongLong(), l.value(1).toString(), l.value(2).toString(), l.value(3).toInt() };
    }
    void abrirNova();

    std::unique_ptr<BancoDeTeste> m_banco;
    Desdobramento m_desdobramento;
    std::unique_ptr<QWidget> m_janela;
    PainelFazela* m_painel = nullptr;
};

void TstEditor::init()
{
    m_banco = std::make_unique<BancoDeTeste>();
    m_banco->executar(
        "Insert into Grupo_Fazela values (1,'Casa'), (2,'Trabalho');"
        "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade,Executado) values"
        " (10,1,'Varrer','A sala toda',3,Null), (11,1,'Lavar','Louça',5,'S'), (20,2,'Relatório','Mensal',2,Null)");
    m_janela = std::make_unique<QWidget>();
    m_janela->resize(454, 595);
    Construtor construtor(1);
    auto* mensagem = new PainelMensagem(m_janela.get(), construtor, m_desdobramento);
    m_painel = new PainelFazela(m_janela.get(), construtor, m_banco->banco(), m_desdobramento, *mensagem);
    mensagem->raise();
    construtor.ordenarTeclado();
    m_janela->show();
    m_janela->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_janela.get()));
}

void TstEditor::abrirNova()
{
    m_painel->abrirNova(1);
    QVERIFY(m_painel->isVisible());
    QTRY_COMPARE(m_painel->size(), QSize(px(4365), px(3345)));
    QVERIFY(c("CmdFazelaIncluir")->isEnabled() && !c("CmdFazelaAlterar")->isEnabled()
        && !c("CmdFazelaExcluir")->isEnabled());
    QCOMPARE(c<QComboBox>("CmbFazelaPrior")->currentText(), QStringLiteral("Média"));
    QCOMPARE(c<QLineEdit>("txtFazelaNome")->text(), QString());
    QCOMPARE(c<CaixaTextoMulti>("txtFazelaDescricao")->text(), QString());
    // The boxes get their font only as the panel is first shown.
    for (const char* caixa : { "txtFazelaNome", "txtFazelaDescricao" })
        QVERIFY(c(caixa)->font().family() == QLatin1String("Times New Roman") && c(caixa)->font().pixelSize() == 12);
}

void TstEditor::incluirSoComOTeclado_data()
{
    // clang-format off
    QTest::addColumn<int>("teclaPrioridade");
    QTest::addColumn<int>("prioridade");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("descricao");
    QTest::newRow("apóstrofos e aspas") << int(Qt::Key_Down) << 4 << "D'Ávila diz \"olá\" ''"
        << "it's; DROP TABLE Fazelas; --'";
    QTest::newRow("barras") << int(Qt::Key_Home) << 1 << "C:\\pasta\\novo \\' \\\\;" << "a\\nb; 'x' = \"y\"; \\";
    QTest::newRow("acentos e emoji") << int(Qt::Key_End) << 5 << "Ação çãé ÀÉÎÕÜ 🙂" << "Café ☕ — ü ñ 😀";
    QTest::newRow("só espaços, sem descrição") << 0 << 3 << "   " << "";
    // The 51st character goes nowhere and takes the user on to the description.
    QTest::newRow("nome cheio") << 0 << 3 << QString(50, QLatin1Char('n')) + "x" << "resto";
    // clang-format on
}

void TstEditor::incluirSoComOTeclado()
{
    QFETCH(int, teclaPrioridade);
    QFETCH(int, prioridade);
    QFETCH(QString, nome);
    QFETCH(QString, descricao);
    const auto antes = fazelas();
    QSignalSpy gravadas(m_painel, &PainelFazela::gravada);
    abrirNova();
    c("CmbFazelaPrior")->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), c("CmbFazelaPrior"));
    if (teclaPrioridade)
        QTest::keyClick(c("CmbFazelaPrior"), Qt::Key(teclaPrioridade));
    QTest::keyClick(c("CmbFazelaPrior"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), c("txtFazelaNome"));
    digitar(QApplication::focusWidget(), nome);
    const QString guardado = nome.left(50);
    if (nome.size() <= 50)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), c("txtFazelaDescricao"));
    QCOMPARE(fazelas(), antes);
    digitar(QApplication::focusWidget(), descricao);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter); // the keypad's Enter
    QVERIFY(m_painel->isHidden());
    QCOMPARE(gravadas.size(), 1);

    const auto depois = fazelas();
    QCOMPARE(depois.mid(0, antes.size()), antes);
    QCOMPARE(depois.size(), antes.size() + 1);
    QCOMPARE(depois.last().mid(1), (QVariantList { 1, guardado, descricao, prioridade, QVariant() }));
    // Opened again from what the file holds, it shows the same.
    m_painel->abrirParaAlterar(fazela(depois.last().at(0).toLongLong()));
    QCOMPARE(c<QLineEdit>("txtFazelaNome")->text(), guardado);
    QCOMPARE(c<CaixaTextoMulti>("txtFazelaDescricao")->text(), descricao);
    QCOMPARE(c<QComboBox>("CmbFazelaPrior")->currentIndex(), prioridade - 1);
}

void TstEditor::nomeVazio_data()
{
    QTest::addColumn<bool>("alterar");
    QTest::newRow("incluir pelo botão") << false;
    QTest::newRow("alterar pelo Enter na descrição") << true;
}

void TstEditor::nomeVazio()
{
    QFETCH(bool, alterar);
    const auto antes = fazelas();
    if (alterar)
        m_painel->abrirParaAlterar(fazela(10));
    else
        abrirNova();
    c<QLineEdit>("txtFazelaNome")->clear();
    c<CaixaTextoMulti>("txtFazelaDescricao")->setText(QStringLiteral("fica"));
    auto r = responderQuandoEsperar(m_janela.get(), "CmdMensagemOkay");
    if (alterar)
        QTest::keyClick(c("txtFazelaDescricao"), Qt::Key_Return);
    else
        QTest::mouseClick(c("CmdFazelaIncluir"), Qt::LeftButton);
    QVERIFY(r->clicada);
    QCOMPARE(r->texto, QStringLiteral("Informe o Nome da Fazela !"));
    QVERIFY(r->okay && !r->confirmar && !r->cancelar);
    QVERIFY(!r->tarefaHabilitada);
    QCOMPARE(fazelas(), antes);
    // Same panel, same mode, the focus in the name.
    QVERIFY(m_painel->isVisible() && m_painel->isEnabled() && c("FrmMensagem")->isHidden());
    QCOMPARE(c("CmdFazelaIncluir")->isEnabled(), !alterar);
    QCOMPARE(c("CmdFazelaAlterar")->isEnabled(), alterar);
    // The Enter that ran the check is not typed into the box, to be stored with the next write.
    QCOMPARE(c<CaixaTextoMulti>("txtFazelaDescricao")->text(), QStringLiteral("fica"));
    QTRY_COMPARE(QApplication::focusWidget(), c("txtFazelaNome"));
    QTest::mouseClick(c("CmdFazelaSair"), Qt::LeftButton);
    QVERIFY(m_painel->isHidden());
    QCOMPARE(fazelas(), antes);
}

void TstEditor::alterarEExcluir()
{
    const auto outras = m_banco->linhas("Select * from Fazelas Where Codigo <> 11 Order By Codigo");
    // Closed, the panel writes nothing; with no group shown it does not open.
    const auto antes = fazelas();
    m_painel->abrirParaAlterar(fazela(10));
    digitar(c("txtFazelaNome"), QStringLiteral(" e a cozinha"));
    QTest::mouseClick(c("CmdFazelaSair"), Qt::LeftButton);
    m_painel->abrirNova(0);
    QVERIFY(m_painel->isHidden() && fazelas() == antes);
    m_painel->abrirParaAlterar(fazela(11));
    QVERIFY(m_painel->isVisible());
    QVERIFY(!c("CmdFazelaIncluir")->isEnabled() && c("CmdFazelaAlterar")->isEnabled()
        && c("CmdFazelaExcluir")->isEnabled());
    QCOMPARE(c<QComboBox>("CmbFazelaPrior")->currentText(), QStringLiteral("Urgente"));
    QCOMPARE(c<QLineEdit>("txtFazelaNome")->text(), QStringLiteral("Lavar"));
    QCOMPARE(c<CaixaTextoMulti>("txtFazelaDescricao")->text(), QStringLiteral("Louça"));
    c<QLineEdit>("txtFazelaNome")->selectAll();
    digitar(c("txtFazelaNome"), QStringLiteral("Lavar a 'louça'"));
    QTest::keyClick(c("CmbFazelaPrior"), Qt::Key_Up);
    QTest::mouseClick(c("CmdFazelaAlterar"), Qt::LeftButton);
    QVERIFY(m_painel->isHidden());
    // The done mark is left as it was.
    QCOMPARE(m_banco->linhas("Select Cod_Grupo,Fazela,Descricao,Prioridade,Executado from Fazelas Where Codigo = 11"),
        (QList<QVariantList> { { 1, "Lavar a 'louça'", "Louça", 4, "S" } }));
    QCOMPARE(m_banco->linhas("Select * from Fazelas Where Codigo <> 11 Order By Codigo"), outras);
    // Deleting asks nothing.
    m_painel->abrirParaAlterar(fazela(11));
    QTest::mouseClick(c("CmdFazelaExcluir"), Qt::LeftButton);
    QVERIFY(m_painel->isHidden());
    QCOMPARE(fazelas(), outras);
}

void TstEditor::falhaAoGravarMantemOPainel_data()
{
    // clang-format off
    QTest::addColumn<QString>("botao");
    QTest::addColumn<QString>("operacao");
    QTest::newRow("incluir") << "CmdFazelaIncluir" << "Insert";
    QTest::newRow("alterar") << "CmdFazelaAlterar" << "Update";
    QTest::newRow("excluir") << "CmdFazelaExcluir" << "Delete";
    // clang-format on
}

// The file refuses the write (full disk, another program, a trigger): the report is given, and the
// panel and what the user typed stay, to press again once the cause is gone.
void TstEditor::falhaAoGravarMantemOPainel()
{
    QFETCH(QString, botao);
    QFETCH(QString, operacao);
    const auto antes = fazelas();
    m_banco->executar(
        "Create Trigger recusa Before " + operacao + " On Fazelas Begin Select Raise(Abort, 'recusado'); End");
    if (operacao == "Insert")
        abrirNova();
    else
        m_painel->abrirParaAlterar(fazela(10));
    c<QLineEdit>("txtFazelaNome")->setText("Nome digitado");
    c<CaixaTextoMulti>("txtFazelaDescricao")->setText(QString(61500, QLatin1Char('d')));
    QSignalSpy falhas(m_painel, &PainelFazela::falhaAoGravar);
    QSignalSpy gravadas(m_painel, &PainelFazela::gravada);
    QTest::mouseClick(c(botao.toLatin1()), Qt::LeftButton);
    QCOMPARE(falhas.size(), 1);
    const QString relatorio = falhas.first().first().toString();
    QVERIFY2(relatorio.contains(m_banco->arquivo()) && relatorio.contains("recusado"), qPrintable(relatorio));
    QCOMPARE(fazelas(), antes);
    QVERIFY(m_painel->isVisible() && m_painel->isEnabled() && gravadas.isEmpty());
    QCOMPARE(c<QLineEdit>("txtFazelaNome")->text(), QStringLiteral("Nome digitado"));
    QCOMPARE(c<CaixaTextoMulti>("txtFazelaDescricao")->text().size(), 61500);
    // The cause is gone: the same press writes.
    m_banco->executar("Drop Trigger recusa");
    QTest::mouseClick(c(botao.toLatin1()), Qt::LeftButton);
    QCOMPARE(falhas.size(), 1);
    QVERIFY(m_painel->isHidden() && gravadas.size() == 1);
    QVERIFY(fazelas() != antes);
}

QTEST_MAIN(TstEditor)
#include "tst_editor.moc"

// The task panel driven through its real controls: keyboard flow, add, change, delete, close.
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "grid/Grade.h"

using namespace Modulo;

namespace {

const ItemGrade* NaGrade(int32_t codigo)
{
    for (const ItemGrade& e : GradeItens)
        if (e.Codigo == codigo)
            return &e;
    return nullptr;
}

} // namespace

class TstEditor : public ComPrancheta
{
    Q_OBJECT
public:
    TstEditor()
        : ComPrancheta(Espera::Ativa,
                       "Insert into Grupo_Fazela values (1,'Casa'), (2,'Trabalho');"
                       "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade,Executado) values"
                       " (10,1,'Varrer','A sala toda',3,Null), (11,1,'Lavar','Louça',5,'S'), (20,2,'Relatório','Mensal',2,Null);"
                       "Update Config set Ultimo_Grupo = 1")
    {
    }

private slots:
    void incluirSoComOTeclado_data();
    void incluirSoComOTeclado();
    void nomeVazio_data();
    void nomeVazio();
    void alterarEExcluir();
    void fecharNaoGrava();
    void falhaAoGravarMantemOPainel_data();
    void falhaAoGravarMantemOPainel();

private:
    QList<QVariantList> Fazelas() const { return m_banco->Linhas("Select * from Fazelas Order By Codigo"); }
    void AbrirNovo();
};

void TstEditor::AbrirNovo()
{
    QTest::mouseClick(p().CmdNewFazela, Qt::LeftButton);
    QVERIFY(p().FrmFazela->isVisible() && !p().PicPrancheta->isEnabled());
    QCOMPARE(p().FrmFazela->size(), QSize(Px(4365), Px(3345)));
    QVERIFY(p().CmdFazelaIncluir->isEnabled() && !p().CmdFazelaAlterar->isEnabled() && !p().CmdFazelaExcluir->isEnabled());
    QCOMPARE(p().CmbFazelaPrior->currentText(), QStringLiteral("Média"));
    QCOMPARE(p().txtFazelaNome->text(), QString());
    QCOMPARE(p().txtFazelaDescricao->text(), QString());
    // The boxes get their font only as the panel is first shown.
    for (QWidget* caixa : {static_cast<QWidget*>(p().txtFazelaNome), static_cast<QWidget*>(p().txtFazelaDescricao)})
        QVERIFY(caixa->font().family() == QLatin1String("Times New Roman") && caixa->font().pixelSize() == 12);
}

void TstEditor::incluirSoComOTeclado_data()
{
    QTest::addColumn<int>("teclaPrioridade");
    QTest::addColumn<int>("prioridade");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("descricao");
    QTest::newRow("apóstrofos e aspas") << int(Qt::Key_Down) << 4 << "D'Ávila diz \"olá\" ''" << "it's; DROP TABLE Fazelas; --'";
    QTest::newRow("barras") << int(Qt::Key_Home) << 1 << "C:\\pasta\\novo \\' \\\\;" << "a\\nb; 'x' = \"y\"; \\";
    QTest::newRow("acentos e emoji") << int(Qt::Key_End) << 5 << "Ação çãé ÀÉÎÕÜ 🙂" << "Café ☕ — ü ñ 😀";
    QTest::newRow("só espaços, sem descrição") << 0 << 3 << "   " << "";
    // The 51st character goes nowhere and takes the user on to the description.
    QTest::newRow("nome cheio") << 0 << 3 << QString(50, QLatin1Char('n')) + "x" << "resto";
}

void TstEditor::incluirSoComOTeclado()
{
    QFETCH(int, teclaPrioridade);
    QFETCH(int, prioridade);
    QFETCH(QString, nome);
    QFETCH(QString, descricao);
    const auto antes = Fazelas();
    AbrirNovo();
    p().CmbFazelaPrior->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), p().CmbFazelaPrior);
    if (teclaPrioridade)
        QTest::keyClick(p().CmbFazelaPrior, Qt::Key(teclaPrioridade));
    QTest::keyClick(p().CmbFazelaPrior, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), p().txtFazelaNome);
    Digitar(QApplication::focusWidget(), nome);
    const QString guardado = nome.left(50);
    if (nome.size() <= 50)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), p().txtFazelaDescricao);
    QCOMPARE(Fazelas(), antes);
    Digitar(QApplication::focusWidget(), descricao);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter); // the keypad's Enter
    QVERIFY(p().FrmFazela->isHidden() && p().PicPrancheta->isEnabled());

    const auto depois = Fazelas();
    QCOMPARE(depois.mid(0, antes.size()), antes);
    QCOMPARE(depois.size(), antes.size() + 1);
    const int32_t codigo = int32_t(depois.last().at(0).toLongLong());
    QCOMPARE(depois.last().mid(1), (QVariantList{1, guardado, descricao, prioridade, QVariant()}));
    // Back in the grid, and back in the panel from there.
    const ItemGrade* e = NaGrade(codigo);
    QVERIFY(e);
    bool naTela = false;
    for (Rotulo* l : p().Linha)
        naTela |= l->text() == QStringLiteral("  ") + guardado && l->toolTip() == descricao;
    QVERIFY(naTela);
    p().AbrirParaAlterar(*e);
    QCOMPARE(p().txtFazelaNome->text(), guardado);
    QCOMPARE(p().txtFazelaDescricao->text(), descricao);
    QCOMPARE(p().CmbFazelaPrior->currentIndex(), prioridade - 1);
    QCOMPARE(p().txtFazelaCodigo->text(), QString::number(codigo));
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
    const auto antes = Fazelas();
    if (alterar)
        p().AbrirParaAlterar(*NaGrade(10));
    else
        AbrirNovo();
    p().txtFazelaNome->clear();
    p().txtFazelaDescricao->setText(QStringLiteral("fica"));
    auto r = ResponderQuandoEsperar(p(), [&] { return p().CmdMensagemOkay; });
    if (alterar)
        QTest::keyClick(p().txtFazelaDescricao, Qt::Key_Return);
    else
        QTest::mouseClick(p().CmdFazelaIncluir, Qt::LeftButton);
    QVERIFY(r->clicada);
    QCOMPARE(r->texto, QStringLiteral("Informe o Nome da Fazela !"));
    QVERIFY(r->okay && !r->confirmar && !r->cancelar);
    QVERIFY(!r->tarefaHabilitada && !r->pranchetaHabilitada);
    QCOMPARE(Fazelas(), antes);
    // Same panel, same mode, the focus in the name; the board stays out of reach.
    QVERIFY(p().FrmFazela->isVisible() && p().FrmFazela->isEnabled() && p().FrmMensagem->isHidden());
    QCOMPARE(p().CmdFazelaIncluir->isEnabled(), !alterar);
    QCOMPARE(p().CmdFazelaAlterar->isEnabled(), alterar);
    // The Enter that ran the check is not typed into the box, to be stored with the next write.
    QCOMPARE(p().txtFazelaDescricao->text(), QStringLiteral("fica"));
    QTRY_COMPARE(QApplication::focusWidget(), p().txtFazelaNome);
    QVERIFY(!p().PicPrancheta->isEnabled() && !p().CmdNewFazela->isEnabled());
    QTest::mouseClick(p().CmdFazelaSair, Qt::LeftButton);
    QVERIFY(p().FrmFazela->isHidden() && p().PicPrancheta->isEnabled());
    QCOMPARE(Fazelas(), antes);
}

void TstEditor::alterarEExcluir()
{
    const auto outras = m_banco->Linhas("Select * from Fazelas Where Codigo <> 11 Order By Codigo");
    p().AbrirParaAlterar(*NaGrade(11));
    QVERIFY(p().FrmFazela->isVisible() && !p().PicPrancheta->isEnabled());
    QVERIFY(!p().CmdFazelaIncluir->isEnabled() && p().CmdFazelaAlterar->isEnabled() && p().CmdFazelaExcluir->isEnabled());
    QCOMPARE(p().CmbFazelaPrior->currentText(), QStringLiteral("Urgente"));
    QCOMPARE(p().txtFazelaNome->text(), QStringLiteral("Lavar"));
    QCOMPARE(p().txtFazelaDescricao->text(), QStringLiteral("Louça"));
    p().txtFazelaNome->selectAll();
    Digitar(p().txtFazelaNome, QStringLiteral("Lavar a 'louça'"));
    QTest::keyClick(p().CmbFazelaPrior, Qt::Key_Up);
    QTest::mouseClick(p().CmdFazelaAlterar, Qt::LeftButton);
    QVERIFY(p().FrmFazela->isHidden() && p().PicPrancheta->isEnabled());
    // The done mark is left as it was.
    QCOMPARE(m_banco->Linhas("Select Cod_Grupo,Fazela,Descricao,Prioridade,Executado from Fazelas Where Codigo = 11"),
             (QList<QVariantList>{{1, "Lavar a 'louça'", "Louça", 4, "S"}}));
    QCOMPARE(m_banco->Linhas("Select * from Fazelas Where Codigo <> 11 Order By Codigo"), outras);
    QCOMPARE(NaGrade(11)->Fazela, QStringLiteral("Lavar a 'louça'"));

    p().AbrirParaAlterar(*NaGrade(11));
    QTest::mouseClick(p().CmdFazelaExcluir, Qt::LeftButton);
    QVERIFY(p().FrmFazela->isHidden() && p().PicPrancheta->isEnabled());
    QCOMPARE(Fazelas(), outras);
    QVERIFY(!NaGrade(11));
}

void TstEditor::fecharNaoGrava()
{
    const auto antes = Fazelas();
    p().AbrirParaAlterar(*NaGrade(10));
    Digitar(p().txtFazelaNome, QStringLiteral(" e a cozinha"));
    QTest::mouseClick(p().CmdFazelaSair, Qt::LeftButton);
    AbrirNovo();
    Digitar(p().txtFazelaNome, QStringLiteral("Não fica"));
    QTest::mouseClick(p().CmdFazelaSair, Qt::LeftButton);
    QVERIFY(p().FrmFazela->isHidden() && p().PicPrancheta->isEnabled());
    QCOMPARE(Fazelas(), antes);
    // With no group shown the image does nothing at all.
    GrupoAtual = 0;
    const std::minstd_rand gerador = p().GeradorDeEstilos;
    QTest::mouseClick(p().CmdNewFazela, Qt::LeftButton);
    QVERIFY(p().FrmFazela->isHidden() && p().PicPrancheta->isEnabled());
    QVERIFY(p().GeradorDeEstilos == gerador);
}

void TstEditor::falhaAoGravarMantemOPainel_data()
{
    QTest::addColumn<QString>("botao");
    QTest::addColumn<QString>("operacao");
    QTest::newRow("incluir") << "CmdFazelaIncluir" << "Insert";
    QTest::newRow("alterar") << "CmdFazelaAlterar" << "Update";
    QTest::newRow("excluir") << "CmdFazelaExcluir" << "Delete";
}

// The file refuses the write (full disk, another program, a trigger): the report is given, and
// the board, the panel and what the user typed stay, to press again once the cause is gone.
void TstEditor::falhaAoGravarMantemOPainel()
{
    QFETCH(QString, botao);
    QFETCH(QString, operacao);
    const auto antes = Fazelas();
    m_banco->Executar("Create Trigger recusa Before " + operacao + " On Fazelas Begin Select Raise(Abort, 'recusado'); End");
    auto* painel = p().findChild<QWidget*>("FrmFazela");
    if (operacao == "Insert")
        QTest::mouseClick(p().findChild<QWidget*>("CmdNewFazela"), Qt::LeftButton);
    else
        QTest::mouseDClick(p().findChild<QWidget*>("Linha(0)"), Qt::LeftButton);
    QTRY_VERIFY(painel->isVisible());
    auto* nome = p().findChild<QLineEdit*>("txtFazelaNome");
    auto* descricao = p().findChild<QPlainTextEdit*>("txtFazelaDescricao");
    nome->setText("Nome digitado");
    descricao->setPlainText(QString(61500, QLatin1Char('d')));
    QSignalSpy falhas(&p(), &Prancheta::FalhaAoGravar);
    QTest::mouseClick(p().findChild<QWidget*>(botao), Qt::LeftButton);
    QCOMPARE(falhas.size(), 1);
    const QString relatorio = falhas.first().first().toString();
    QVERIFY2(relatorio.contains(m_banco->Arquivo()) && relatorio.contains("recusado"), qPrintable(relatorio));
    QCOMPARE(Fazelas(), antes);
    QVERIFY(painel->isVisible() && painel->isEnabled() && !p().findChild<QWidget*>("PicPrancheta")->isEnabled());
    QCOMPARE(nome->text(), QStringLiteral("Nome digitado"));
    QCOMPARE(descricao->toPlainText().size(), 61500);
    // The cause is gone: the same press writes.
    m_banco->Executar("Drop Trigger recusa");
    QTest::mouseClick(p().findChild<QWidget*>(botao), Qt::LeftButton);
    QCOMPARE(falhas.size(), 1);
    QVERIFY(painel->isHidden() && p().findChild<QWidget*>("PicPrancheta")->isEnabled());
    QVERIFY(Fazelas() != antes);
}

QTEST_MAIN(TstEditor)
#include "tst_editor.moc"

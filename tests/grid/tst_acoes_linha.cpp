// Scrolling and the two row actions against a real file: the row under the pointer is always
// the task that a click or a double-click acts on.
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "grid/Grade.h"
#include "message/Responder.h"
#include "shell/Prancheta.h"

#include <QtTest>

using namespace Modulo;

namespace {

// Group 1 holds 30 tasks, named by their place in the grid's order (priority, then description);
// group 2 holds 3. Every write to Fazelas is logged by the file itself.
void Preparar(BancoDeTeste& banco)
{
    QString sql = "Insert into Grupo_Fazela values (1,'Muitas'), (2,'Poucas');"
                  "Create Table Gravacoes (Codigo, Executado);"
                  "Create Trigger Registrar After Update On Fazelas Begin "
                  "Insert into Gravacoes values (new.Codigo, new.Executado); End;";
    for (int i = 0; i < 30; ++i)
        sql += QStringLiteral("Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade) "
                              "values (%1,1,'t%2','d%3',%4);")
                   .arg(40000 + i)
                   .arg(i, 2, 10, QChar('0'))
                   .arg(i, 2, 10, QChar('0'))
                   .arg(5 - i / 10);
    sql += "Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) values (2,'a','1',1),(2,'b','2',1),(2,'c','3',1);"
           "Update Config set Ultimo_Grupo = 1";
    banco.Executar(sql);
}

// Every painted row shows the entry the scroll position puts under it.
bool EmPasso(const Prancheta& p)
{
    for (int i = 0; i < QtdLinhas; ++i) {
        const size_t e = size_t(i + p.VscGrade->value());
        const QString esperado = e < GradeItens.size() ? "  " + GradeItens[e].Fazela : QString();
        if (p.Linha[i]->text() != esperado && p.Linha[i]->text() != QLatin1String(SemFazelas))
            return false;
    }
    return true;
}

// Picks a group in the list as the user does.
void SelecionarGrupo(Prancheta& p, int codigo)
{
    const int i = p.cmbGrupo->findText(QStringLiteral(" %1 - ").arg(codigo), Qt::MatchStartsWith);
    QVERIFY(i >= 0);
    p.cmbGrupo->setCurrentIndex(i);
    emit p.cmbGrupo->activated(i);
}

} // namespace

class TstAcoesLinha : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_banco = std::make_unique<BancoDeTeste>();
        Preparar(*m_banco);
        m_p = std::make_unique<Prancheta>();
        QVERIFY(m_p->Form_Load());
        m_p->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_p.get()));
    }
    void cleanup()
    {
        m_p.reset();
        m_banco.reset();
    }

    void rolagemMostraAJanelaDoBuffer();
    void arrastoSegueOPolegar();
    void cliqueNaMarcaRolada();
    void doisCliquesDesfazem();
    void duploCliqueAbreAFazelaDaLinha();
    void linhasSemFazelaNaoFazemNada();
    void recargaMantemLinhasEAcoesEmPasso_data();
    void recargaMantemLinhasEAcoesEmPasso();

private:
    std::unique_ptr<BancoDeTeste> m_banco;
    std::unique_ptr<Prancheta> m_p;
};

void TstAcoesLinha::rolagemMostraAJanelaDoBuffer()
{
    Prancheta& p = *m_p;
    QVERIFY(p.VscGrade->isVisible());
    QCOMPARE(p.VscGrade->maximum(), 7);
    GradeItens[24].Executado = true; // as a tick made earlier leaves it
    p.VscGrade->setFocus();
    QTest::keyClick(p.VscGrade, Qt::Key_Down);
    QCOMPARE(p.VscGrade->value(), 1);
    QCOMPARE(p.Linha[0]->text(), QStringLiteral("  t01"));
    QCOMPARE(p.Linha[22]->text(), QStringLiteral("  t23"));
    QCOMPARE(p.Linha[22]->toolTip(), QStringLiteral("d23"));
    QVERIFY(p.PicFocus->hasFocus()); // arrow keys no longer reach the scroll bar
    p.VscGrade->setValue(7);
    QVERIFY(p.ImgLinha[17]->TemPicture());
    QVERIFY(!p.ImgLinha[16]->TemPicture());
    // The colours follow the entries: t07 urgent, t19 high, t20 medium.
    QCOMPARE(p.Linha[0]->CorFundo(), QColor(255, 128, 128));
    QCOMPARE(p.Linha[12]->CorFundo(), QColor(255, 255, 128));
    QCOMPARE(p.Linha[13]->CorFundo(), QColor(128, 255, 128));
    p.VscGrade->setValue(0);
    QVERIFY(!p.ImgLinha[17]->TemPicture());
    QVERIFY(EmPasso(p));
}

void TstAcoesLinha::arrastoSegueOPolegar()
{
    Prancheta& p = *m_p;
    p.VscGrade->setSliderDown(true);
    p.VscGrade->setSliderPosition(5);
    QCOMPARE(p.Linha[0]->text(), QStringLiteral("  t05")); // rows follow while dragging
    QCOMPARE(p.VscGrade->value(), 0);
    p.VscGrade->setSliderDown(false);
    QCOMPARE(p.VscGrade->value(), 5);
    QVERIFY(EmPasso(p));
}

void TstAcoesLinha::cliqueNaMarcaRolada()
{
    Prancheta& p = *m_p;
    p.VscGrade->setValue(4);
    QTest::mouseClick(p.ImgLinha[3], Qt::LeftButton);
    QVERIFY(p.ImgLinha[3]->TemPicture());
    QVERIFY(GradeItens[7].Executado);
    QCOMPARE(m_banco->Linhas("Select Codigo, Executado from Gravacoes"), (QList<QVariantList>{{40007, "S"}}));
    QCOMPARE(m_banco->Valor("Select count(*) from Fazelas Where Executado is not null").toInt(), 1);
    // Scrolled away and back, the mark is the buffer's.
    p.VscGrade->setValue(0);
    QVERIFY(p.ImgLinha[7]->TemPicture());
    QVERIFY(!p.ImgLinha[3]->TemPicture());
}

void TstAcoesLinha::doisCliquesDesfazem()
{
    Prancheta& p = *m_p;
    const QString antes = p.Linha[2]->text();
    QTest::mouseClick(p.ImgLinha[2], Qt::LeftButton);
    QTest::mouseClick(p.ImgLinha[2], Qt::LeftButton);
    QCOMPARE(m_banco->Linhas("Select Codigo, Executado from Gravacoes"),
             (QList<QVariantList>{{40002, "S"}, {40002, QVariant()}}));
    QVERIFY(!p.ImgLinha[2]->TemPicture());
    QVERIFY(!GradeItens[2].Executado);
    QCOMPARE(p.Linha[2]->text(), antes);
    QVERIFY(!Conexao);
}

void TstAcoesLinha::duploCliqueAbreAFazelaDaLinha()
{
    Prancheta& p = *m_p;
    p.VscGrade->setValue(6);
    QTest::mouseDClick(p.Linha[20], Qt::LeftButton);
    QTRY_VERIFY(p.FrmFazela->isVisible());
    QCOMPARE(p.txtFazelaCodigo->text(), QStringLiteral("40026"));
    QCOMPARE(p.txtFazelaNome->text(), QStringLiteral("t26"));
    QCOMPARE(p.CmbFazelaPrior->currentIndex(), 2);
    QVERIFY(!p.CmdFazelaIncluir->isEnabled() && p.CmdFazelaAlterar->isEnabled());
    // Changed through the editor: the task of that row, and no other.
    p.CmbFazelaPrior->setCurrentIndex(4);
    QTest::mouseClick(p.CmdFazelaAlterar, Qt::LeftButton);
    QCOMPARE(m_banco->Valor("Select Prioridade from Fazelas Where Codigo = 40026").toInt(), 5);
    QCOMPARE(m_banco->Valor("Select count(*) from Fazelas Where Prioridade = 5").toInt(), 11);
    QVERIFY(p.PicPrancheta->isEnabled());
}

void TstAcoesLinha::linhasSemFazelaNaoFazemNada()
{
    Prancheta& p = *m_p;
    SelecionarGrupo(p, 2);
    QTest::mouseClick(p.ImgLinha[5], Qt::LeftButton);
    QTest::mouseDClick(p.Linha[5], Qt::LeftButton);
    // A group without tasks: the message row answers nothing either.
    m_banco->Executar("Delete from Fazelas Where Cod_Grupo = 2");
    p.AlimentarGrade(2);
    QCOMPARE(p.Linha[LinhaDaMensagem]->text(), QString::fromLatin1(SemFazelas));
    QTest::mouseClick(p.ImgLinha[LinhaDaMensagem], Qt::LeftButton);
    QTest::mouseDClick(p.Linha[LinhaDaMensagem], Qt::LeftButton);
    QVERIFY(p.FrmFazela->isHidden());
    QVERIFY(!p.ImgLinha[LinhaDaMensagem]->TemPicture());
    QCOMPARE(m_banco->Valor("Select count(*) from Gravacoes").toInt(), 0);
}

void TstAcoesLinha::recargaMantemLinhasEAcoesEmPasso_data()
{
    QTest::addColumn<int>("recarga");
    QTest::newRow("outro grupo") << 0;
    QTest::newRow("grupo excluido") << 1;
    QTest::newRow("fazela incluida") << 2;
    QTest::newRow("fazela alterada") << 3;
    QTest::newRow("fazela excluida") << 4;
}

void TstAcoesLinha::recargaMantemLinhasEAcoesEmPasso()
{
    QFETCH(int, recarga);
    Prancheta& p = *m_p;
    p.VscGrade->setValue(7);
    switch (recarga) {
    case 0:
        SelecionarGrupo(p, 2);
        break;
    case 1:
        ResponderQuandoEsperar(p, [&p] { return p.CmdMensagemConfirmar; });
        p.CmdDelGrupo_Click();
        break;
    case 2:
        p.CmdNewFazela_Click();
        p.txtFazelaNome->setText("nova");
        p.CmdFazelaIncluir_Click();
        break;
    case 3:
    case 4:
        QTest::mouseDClick(p.Linha[0], Qt::LeftButton);
        QTRY_VERIFY(p.FrmFazela->isVisible());
        QTest::mouseClick(recarga == 3 ? p.CmdFazelaAlterar : p.CmdFazelaExcluir, Qt::LeftButton);
        break;
    }
    QTRY_VERIFY(p.PicPrancheta->isEnabled());
    QVERIFY(EmPasso(p));
    // The mark clicked on row 1 ticks the task whose name that row shows.
    const QString nome = p.Linha[1]->text().mid(2);
    QTest::mouseClick(p.ImgLinha[1], Qt::LeftButton);
    QCOMPARE(m_banco->Linhas("Select Fazela from Fazelas Where Executado = 'S'"), (QList<QVariantList>{{nome}}));
}

QTEST_MAIN(TstAcoesLinha)
#include "tst_acoes_linha.moc"

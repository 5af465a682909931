// The group list filled from real database files, and what selecting a group does.
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "grid/Grade.h"
#include "shell/Prancheta.h"

#include <QtTest>

using namespace Modulo;

namespace {

// Every write of the settings row leaves its value here, so the test sees how often it happened.
const char* ContarGravacoes = "Create Table Gravacoes(Valor);"
                              "Create Trigger gravou After Update On Config"
                              " Begin Insert Into Gravacoes Values (new.Ultimo_Grupo); End;";

const char* Grupos = "Insert into Grupo_Fazela values (1,'zebra'), (2,'Água'), (3,'abacaxi'), (4,'ônibus'),"
                     " (5,'Casa'), (6,'banana'), (7,'Casa'), (8,''), (9,'A - B'), (10,'d''Ávila');"
                     "Insert into Fazelas(Cod_Grupo,Fazela,Prioridade) values"
                     " (1,'um',3), (2,'dois',3), (7,'sete',3), (9,'nove',3);";

QVariantList Gravacoes(const BancoDeTeste& banco)
{
    QVariantList valores;
    for (const QVariantList& linha : banco.Linhas("Select Valor from Gravacoes"))
        valores << linha.first();
    return valores;
}

} // namespace

class TstListaGrupos : public QObject
{
    Q_OBJECT
private slots:
    void itensNaOrdemPortuguesa();
    void selecao_data();
    void selecao();
    void tabelaVaziaComJanelaVisivel();
    void inicio_data();
    void inicio();
    void escolhaPeloTeclado();
};

void TstListaGrupos::itensNaOrdemPortuguesa()
{
    BancoDeTeste banco;
    banco.Executar(Grupos);
    Prancheta p;
    p.AlimentarCombo();
    QStringList itens = Itens(p.cmbGrupo);
    // Equal names keep both items, each with its own code; their order between them is the engine's.
    QVERIFY(itens.indexOf(" 5 - Casa") >= 0 && itens.indexOf(" 7 - Casa") >= 0);
    itens.replace(itens.indexOf(" 7 - Casa"), " 5 - Casa");
    QCOMPARE(itens,
        QStringList({ " 8 - ", " 9 - A - B", " 3 - abacaxi", " 2 - Água", " 6 - banana", " 5 - Casa", " 5 - Casa",
            " 10 - d'Ávila", " 4 - ônibus", " 1 - zebra" }));
    QVERIFY(p.cmbGrupo->isEnabled());
    QVERIFY(!Conexao);
    QVERIFY(!Registros->Aberto());
}

void TstListaGrupos::selecao_data()
{
    QTest::addColumn<bool>("visivel");
    QTest::addColumn<int>("atual");
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("depois");
    QTest::addColumn<QString>("linha0");
    QTest::newRow("o grupo atual") << true << 7 << " 7 - Casa" << 7 << "  sete";
    QTest::newRow("nome com o separador") << true << 9 << " 9 - A - B" << 9 << "  nove";
    QTest::newRow("grupo apagado") << true << 42 << " 8 - " << 8 << "";
    QTest::newRow("nenhum grupo") << true << 0 << " 8 - " << 8 << "";
    // Hidden: the grid keeps what it had and the settings are not written.
    QTest::newRow("janela oculta") << false << 2 << " 2 - Água" << 2 << "  sete";
}

void TstListaGrupos::selecao()
{
    QFETCH(bool, visivel);
    QFETCH(int, atual);
    QFETCH(QString, item);
    QFETCH(int, depois);
    QFETCH(QString, linha0);
    BancoDeTeste banco;
    banco.Executar(QString(Grupos) + ContarGravacoes);
    Prancheta p;
    p.setVisible(visivel);
    p.AlimentarGrade(7);
    GrupoAtual = atual;
    p.AlimentarCombo();
    QCOMPARE(p.cmbGrupo->currentText(), item);
    QCOMPARE(GrupoAtual, depois);
    QCOMPARE(p.Linha[0]->text(), linha0);
    // Once per fill: filling the list with items selects nothing by itself.
    QCOMPARE(Gravacoes(banco), visivel ? QVariantList({ depois }) : QVariantList());
    if (visivel)
        QCOMPARE(banco.Valor("Select Ultimo_Grupo from Config").toInt(), depois);
}

void TstListaGrupos::tabelaVaziaComJanelaVisivel()
{
    BancoDeTeste banco;
    banco.Executar(QString(ContarGravacoes)
        + "Insert into Grupo_Fazela values (5,'Casa');"
          "Insert into Fazelas(Cod_Grupo,Fazela,Prioridade) values (5,'x',3);");
    Prancheta p;
    p.show();
    GrupoAtual = 5;
    p.AlimentarGrade(5);
    banco.Executar("Delete from Grupo_Fazela");
    p.AlimentarCombo();
    QCOMPARE(Itens(p.cmbGrupo), QStringList({ " Sem Grupos de Fazela Cadastrado !" }));
    QVERIFY(!p.cmbGrupo->isEnabled());
    QCOMPARE(GrupoAtual, 0);
    QCOMPARE(Gravacoes(banco), QVariantList({ 0 }));
    QCOMPARE(QtdItens, 0);
    for (int i = 0; i < QtdLinhas; ++i)
        QVERIFY(p.Linha[i]->text().isEmpty() && !p.Linha[i]->Borda());

    // Groups again: the list is usable again.
    banco.Executar("Insert into Grupo_Fazela values (5,'Casa')");
    p.AlimentarCombo();
    QVERIFY(p.cmbGrupo->isEnabled());
    QCOMPARE(Gravacoes(banco), QVariantList({ 0, 5 }));
    QCOMPARE(p.Linha[0]->text(), QStringLiteral("  x"));
}

void TstListaGrupos::inicio_data()
{
    QTest::addColumn<int>("lembrado");
    QTest::addColumn<int>("atual");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("linha0");
    QTest::addColumn<QString>("linha10");
    QTest::newRow("grupo lembrado") << 2 << 2 << " 2 - Água"
                                    << "  dois"
                                    << "";
    // The list shows its first item, which becomes current (it has no tasks), so that a task added
    // next does not go to the group that is gone.
    QTest::newRow("grupo apagado") << 77 << 8 << " 8 - "
                                   << "" << SemFazelas;
}

void TstListaGrupos::inicio()
{
    QFETCH(int, lembrado);
    QFETCH(int, atual);
    QFETCH(QString, item);
    QFETCH(QString, linha0);
    QFETCH(QString, linha10);
    BancoDeTeste banco;
    banco.Executar(
        QString(Grupos) + QStringLiteral("Update Config set Ultimo_Grupo = %1;").arg(lembrado) + ContarGravacoes);
    Prancheta p;
    QVERIFY(p.Form_Load());
    QCOMPARE(p.cmbGrupo->currentText(), item);
    QCOMPARE(UltimoGrupo, lembrado);
    QCOMPARE(GrupoAtual, atual);
    QCOMPARE(p.Linha[0]->text(), linha0);
    QCOMPARE(p.Linha[10]->text(), linha10);
    QVERIFY(Gravacoes(banco).isEmpty());
}

void TstListaGrupos::escolhaPeloTeclado()
{
    BancoDeTeste banco;
    banco.Executar(QString(Grupos) + "Update Config set Ultimo_Grupo = 3;" + ContarGravacoes);
    Prancheta p;
    QVERIFY(p.Form_Load());
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    p.cmbGrupo->setFocus();
    QTest::keyClick(p.cmbGrupo, Qt::Key_Down);
    QCOMPARE(p.cmbGrupo->currentText(), QStringLiteral(" 2 - Água"));
    QCOMPARE(GrupoAtual, 2);
    QCOMPARE(p.Linha[0]->text(), QStringLiteral("  dois"));
    QCOMPARE(Gravacoes(banco), QVariantList({ 2 }));
}

QTEST_MAIN(TstListaGrupos)
#include "tst_lista_grupos.moc"

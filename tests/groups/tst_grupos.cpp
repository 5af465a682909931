// The group list filled from real files and what selecting a group does; adding groups through the
// group panel and deleting the current group with its tasks.
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "grid/Grade.h"

using namespace Modulo;

namespace {

const QString Grupos = QStringLiteral("Select * from Grupo_Fazela Order By Codigo");
const QString Fazelas = QStringLiteral("Select * from Fazelas Order By Codigo");

const char* Varios = "Insert into Grupo_Fazela values (1,'zebra'), (2,'Água'), (3,'abacaxi'), (4,'ônibus'),"
                     " (5,'Casa'), (6,'banana'), (7,'Casa'), (8,''), (9,'A - B'), (10,'d''Ávila');"
                     "Insert into Fazelas(Cod_Grupo,Fazela,Prioridade) values (1,'um',3), (2,'dois',3), (7,'sete',3), (9,'nove',3);";
// Every write of the settings row leaves its value in Gravacoes.
const char* Gatilho = ";Create Table Gravacoes(Valor);"
                      "Create Trigger gravou After Update On Config Begin Insert Into Gravacoes Values (new.Ultimo_Grupo); End;";

const char* DoisGrupos = "Insert into Grupo_Fazela values (1,'Casa'), (2,'Trabalho');"
                         "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Prioridade) values"
                         " (10,1,'Varrer',3), (20,2,'Relatório',2), (21,2,'Reunião',5);"
                         "Update Config set Ultimo_Grupo = 2";

} // namespace

class TstGrupos : public ComPrancheta
{
    Q_OBJECT
public:
    TstGrupos() : ComPrancheta(Espera::Ativa) {}

private slots:
    void selecao_data();
    void selecao();
    void inicio_data();
    void inicio();
    void tabelaVaziaEEscolhaPeloTeclado();
    void incluir_data();
    void incluir();
    void caixaCheiaLevaAoBotao();
    void excluir_data();
    void excluir();
    void falhaAoGravar_data();
    void falhaAoGravar();

private:
    QVariantList Gravacoes() const;
};

QVariantList TstGrupos::Gravacoes() const
{
    QVariantList valores;
    for (const QVariantList& linha : m_banco->Linhas("Select Valor from Gravacoes"))
        valores << linha.first();
    return valores;
}

void TstGrupos::selecao_data()
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

void TstGrupos::selecao()
{
    QFETCH(bool, visivel);
    QFETCH(int, atual);
    QFETCH(QString, item);
    QFETCH(int, depois);
    QFETCH(QString, linha0);
    m_banco->Executar(QString(Varios) + Gatilho);
    Prancheta p;
    p.setVisible(visivel);
    p.AlimentarGrade(7);
    GrupoAtual = atual;
    p.AlimentarCombo();
    QCOMPARE(p.cmbGrupo->currentText(), item);
    QCOMPARE(GrupoAtual, depois);
    QCOMPARE(p.Linha[0]->text(), linha0);
    // Once per fill: filling the list with items selects nothing by itself.
    QCOMPARE(Gravacoes(), visivel ? QVariantList({depois}) : QVariantList());
}

void TstGrupos::inicio_data()
{
    QTest::addColumn<QString>("lembrado"); // the settings row, "-" for none
    QTest::addColumn<int>("atual");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("linha0");
    QTest::addColumn<bool>("duasEtapas"); // the program's own board: the rows on the screen first
    QTest::newRow("sem linha") << "-" << 0 << " 8 - " << "" << false;
    QTest::newRow("nulo") << "Null" << 0 << " 8 - " << "" << false;
    // What another program may leave there names no group, not the group nearest to it.
    QTest::newRow("texto") << "'x'" << 0 << " 8 - " << "" << false;
    QTest::newRow("fração") << "2.5" << 0 << " 8 - " << "" << false;
    QTest::newRow("grupo lembrado") << "2" << 2 << " 2 - Água" << "  dois" << false;
    // The list shows its first item, which becomes current, so that a task added next does not
    // go to the group that is gone.
    QTest::newRow("grupo apagado") << "77" << 8 << " 8 - " << "" << false;
    QTest::newRow("em duas etapas") << "2" << 2 << " 2 - Água" << "  t29" << true;
}

// Start-up reads the settings row and never writes it.
void TstGrupos::inicio()
{
    QFETCH(QString, lembrado);
    QFETCH(int, atual);
    QFETCH(QString, item);
    QFETCH(QString, linha0);
    QFETCH(bool, duasEtapas);
    m_banco->Executar(QString(Varios) + (lembrado == "-" ? "Delete from Config" : "Update Config set Ultimo_Grupo = " + lembrado) + Gatilho);
    if (duasEtapas) // a group longer than the board
        m_banco->Executar("With recursive n(i) as (Select 0 Union All Select i + 1 from n where i < 29) Insert into"
                          " Fazelas(Cod_Grupo,Fazela,Prioridade) Select 2, printf('t%02d', i), 3 from n");
    Prancheta p(nullptr, duasEtapas ? Prancheta::Montagem::EmDuasEtapas : Prancheta::Montagem::Completa);
    p.Form_Load();
    if (duasEtapas) {
        // The scroll bar knows the whole group from the start; the rest of it follows the map.
        QCOMPARE(p.VscGrade->maximum(), 31 - QtdLinhas);
        p.ConcluirMontagem();
        QCOMPARE(int(GradeItens.size()), 31);
        QCOMPARE(p.VscGrade->maximum(), 31 - QtdLinhas);
    }
    QCOMPARE(p.cmbGrupo->currentText(), item);
    QCOMPARE(UltimoGrupo, lembrado.toInt());
    QCOMPARE(GrupoAtual, atual);
    QCOMPARE(p.Linha[0]->text(), linha0);
    if (!duasEtapas)
        QCOMPARE(p.Linha[LinhaDaMensagem]->text(), atual == 8 ? QString::fromLatin1(SemFazelas) : QString());
    QVERIFY(Gravacoes().isEmpty() && !Conexao);
}

void TstGrupos::tabelaVaziaEEscolhaPeloTeclado()
{
    Prancheta& p = Iniciar(QString(Varios) + "Update Config set Ultimo_Grupo = 3" + Gatilho);
    p.cmbGrupo->setFocus();
    QTest::keyClick(p.cmbGrupo, Qt::Key_Down);
    QCOMPARE(p.cmbGrupo->currentText(), QStringLiteral(" 2 - Água"));
    QCOMPARE(GrupoAtual, 2);
    QCOMPARE(p.Linha[0]->text(), QStringLiteral("  dois"));
    // Every group gone: the list says so and cannot be used, the grid is empty.
    m_banco->Executar("Delete from Grupo_Fazela");
    p.AlimentarCombo();
    QCOMPARE(Itens(p.cmbGrupo), QStringList({" Sem Grupos de Fazela Cadastrado !"}));
    QVERIFY(!p.cmbGrupo->isEnabled());
    QCOMPARE(GrupoAtual, 0);
    QCOMPARE(Gravacoes(), QVariantList({2, 0}));
    QVERIFY(p.Linha[0]->text().isEmpty() && !p.Linha[0]->Borda());
    // Groups again: the list is usable again.
    m_banco->Executar("Insert into Grupo_Fazela values (2,'Casa')");
    p.AlimentarCombo();
    QVERIFY(p.cmbGrupo->isEnabled());
    QCOMPARE(p.Linha[0]->text(), QStringLiteral("  dois"));
}

void TstGrupos::incluir_data()
{
    QTest::addColumn<QString>("preparo");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<bool>("enter"); // added by Enter in the box, or by the button
    QTest::addColumn<int>("codigo");
    QTest::addColumn<int>("atual");
    QTest::newRow("tabela vazia") << "" << "Casa d'Ávila" << false << 1 << 1;
    QTest::newRow("depois de 1 e 7") << "Insert into Grupo_Fazela values (1,'Zeta'),(7,'Beta');"
                                        "Update Config set Ultimo_Grupo = 1"
                                     << "Alfa \"x\"; \\ 'y' 🙂" << false << 8 << 1;
    QTest::newRow("sem nome, sem grupo atual") << "Insert into Grupo_Fazela values (3,'Casa')" << "" << false << 4 << 4;
    QTest::newRow("nome repetido, Enter") << "Insert into Grupo_Fazela values (3,'Casa'); Update Config set Ultimo_Grupo = 3"
                                          << "Casa" << true << 4 << 3;
    // The box is full when Enter comes: the add closes the panel, and the focus stays put.
    QTest::newRow("cheio, Enter") << DoisGrupos << QString(50, QLatin1Char('g')) << true << 3 << 2;
}

void TstGrupos::incluir()
{
    QFETCH(QString, preparo);
    QFETCH(QString, nome);
    QFETCH(bool, enter);
    QFETCH(int, codigo);
    QFETCH(int, atual);
    Prancheta& p = Iniciar(preparo);
    const auto antes = m_banco->Linhas(Grupos);
    p.txtGrupoGrupo->setText(QStringLiteral("o nome da vez anterior"));
    QTest::mouseClick(p.CmdNewGrupo, Qt::LeftButton);
    QVERIFY(p.FrmGrupo->isVisible() && !p.PicPrancheta->isEnabled());
    QCOMPARE(p.FrmGrupo->size(), QSize(Px(4365), Px(1725)));
    QCOMPARE(p.txtGrupoGrupo->text(), QString());
    Digitar(p.txtGrupoGrupo, nome);
    if (enter)
        QTest::keyClick(p.txtGrupoGrupo, Qt::Key_Return);
    else
        QTest::mouseClick(p.CmdGrupoIncluir, Qt::LeftButton);
    QVERIFY(p.FrmGrupo->isHidden() && p.PicPrancheta->isEnabled());
    QVERIFY(!enter || QApplication::focusWidget() != p.CmdGrupoIncluir);
    QCOMPARE(m_banco->Linhas(Grupos), antes + QList<QVariantList>({{codigo, nome}}));
    QVERIFY(Itens(p.cmbGrupo).contains(QStringLiteral(" %1 - %2").arg(codigo).arg(nome)));
    QCOMPARE(GrupoAtual, atual);
    QVERIFY(p.cmbGrupo->currentText().startsWith(QStringLiteral(" %1 - ").arg(atual)));
}

void TstGrupos::caixaCheiaLevaAoBotao()
{
    Prancheta& p = Iniciar(DoisGrupos);
    const auto antes = m_banco->Linhas(Grupos);
    QTest::mouseClick(p.CmdNewGrupo, Qt::LeftButton);
    const QString cheio(50, QLatin1Char('g'));
    Digitar(p.txtGrupoGrupo, cheio);
    QTest::keyClick(p.txtGrupoGrupo, Qt::Key_X);
    QCOMPARE(QApplication::focusWidget(), p.CmdGrupoIncluir);
    QCOMPARE(p.txtGrupoGrupo->text(), cheio);
    // Cancelling, or closing the panel, writes nothing.
    QTest::mouseClick(p.CmdGrupoCancel, Qt::LeftButton);
    QVERIFY(p.FrmGrupo->isHidden() && p.PicPrancheta->isEnabled());
    QTest::mouseClick(p.CmdNewGrupo, Qt::LeftButton);
    Digitar(p.txtGrupoGrupo, QStringLiteral("Não fica"));
    QTest::mouseClick(p.ImgGrupoSair, Qt::LeftButton);
    QVERIFY(p.FrmGrupo->isHidden() && p.PicPrancheta->isEnabled());
    QCOMPARE(m_banco->Linhas(Grupos), antes);
    QCOMPARE(GrupoAtual, 2);
}

void TstGrupos::excluir_data()
{
    QTest::addColumn<QString>("preparo");
    QTest::addColumn<QString>("botao"); // empty: no question is asked
    QTest::addColumn<QList<QVariantList>>("grupos");
    QTest::addColumn<QList<QVariantList>>("fazelas");
    QTest::addColumn<QStringList>("lista");
    QTest::addColumn<int>("atual");
    const QList<QVariantList> nada;
    QTest::newRow("sem grupo atual") << "Select 1" << "" << nada << nada << QStringList{SemGrupos} << 0;
    QTest::newRow("cancelado") << DoisGrupos << "CmdMensagemCancelar" << QList<QVariantList>{{1, "Casa"}, {2, "Trabalho"}}
                               << QList<QVariantList>{{10}, {20}, {21}} << QStringList{" 1 - Casa", " 2 - Trabalho"} << 2;
    // The group shown is deleted, not the one remembered at start; the first group left becomes
    // current, remembered and shown.
    QTest::newRow("confirmado") << QString(DoisGrupos) + ";Insert into Grupo_Fazela values (3,'Zoo');"
                                   "Insert into Fazelas(Codigo,Cod_Grupo,Fazela) values (30,3,'x')"
                                << "CmdMensagemConfirmar" << QList<QVariantList>{{1, "Casa"}, {2, "Trabalho"}}
                                << QList<QVariantList>{{10}, {20}, {21}} << QStringList{" 1 - Casa", " 2 - Trabalho"} << 1;
    QTest::newRow("o único grupo") << "Insert into Grupo_Fazela values (5,'Casa');"
                                      "Insert into Fazelas(Codigo,Cod_Grupo,Fazela) values (50,5,'Varrer');"
                                      "Update Config set Ultimo_Grupo = 5"
                                   << "CmdMensagemConfirmar" << nada << nada << QStringList{SemGrupos} << 0;
}

void TstGrupos::excluir()
{
    QFETCH(QString, preparo);
    QFETCH(QString, botao);
    QFETCH(QList<QVariantList>, grupos);
    QFETCH(QList<QVariantList>, fazelas);
    QFETCH(QStringList, lista);
    QFETCH(int, atual);
    Prancheta& p = Iniciar(preparo);
    if (QTest::currentDataTag() == QLatin1String("confirmado")) {
        p.cmbGrupo->setCurrentIndex(2);
        emit p.cmbGrupo->activated(2);
    }
    MsgBoxResposta = 9;
    auto r = ResponderQuandoEsperar(p, [&] { return p.FrmMensagem->findChild<QWidget*>(botao); });
    QTest::mouseClick(p.CmdDelGrupo, Qt::LeftButton);
    if (botao.isEmpty()) {
        QCOMPARE(MsgBoxResposta, uint8_t(9));
    } else {
        QVERIFY(r->clicada);
        QCOMPARE(r->texto, QStringLiteral("Confirma Exclusão do Grupo e suas Fazelas ?"));
        QVERIFY(r->confirmar && r->cancelar && !r->okay);
    }
    QVERIFY(p.PicPrancheta->isEnabled());
    QCOMPARE(m_banco->Linhas(Grupos), grupos);
    QCOMPARE(m_banco->Linhas("Select Codigo from Fazelas Order By Codigo"), fazelas);
    QCOMPARE(Itens(p.cmbGrupo), lista);
    QCOMPARE(GrupoAtual, atual);
    QCOMPARE(m_banco->Valor("Select Ultimo_Grupo from Config").toInt(), atual);
    QCOMPARE(qsizetype(GradeItens.size()),
             m_banco->Valor(QStringLiteral("Select count(*) from Fazelas Where Cod_Grupo = %1").arg(atual)).toLongLong());
}

void TstGrupos::falhaAoGravar_data()
{
    QTest::addColumn<QString>("operacao");
    QTest::newRow("incluir") << "Insert";
    QTest::newRow("excluir") << "Delete";
}

// The file refuses the write: it is reported, the file is as it was (the tasks a group's deletion
// took first came back with it), and the board, with the panel and its text, stays for another try.
void TstGrupos::falhaAoGravar()
{
    QFETCH(QString, operacao);
    Prancheta& p = Iniciar(DoisGrupos);
    m_banco->Executar("Create Trigger recusa Before " + operacao + " On Grupo_Fazela Begin Select Raise(Abort, 'recusado'); End");
    const auto grupos = m_banco->Linhas(Grupos);
    const auto fazelas = m_banco->Linhas(Fazelas);
    const QStringList lista = Itens(p.findChild<QComboBox*>("cmbGrupo"));
    auto* painel = p.findChild<QWidget*>("FrmGrupo");
    auto* nome = p.findChild<QLineEdit*>("txtGrupoGrupo");
    QSignalSpy falhas(&p, &Prancheta::FalhaAoGravar);
    const auto gravar = [&] {
        if (operacao == "Insert") {
            QTest::mouseClick(p.findChild<QWidget*>("CmdGrupoIncluir"), Qt::LeftButton);
            return;
        }
        auto r = ResponderQuandoEsperar(p, [&] { return p.findChild<QWidget*>("CmdMensagemConfirmar"); });
        QTest::mouseClick(p.findChild<QWidget*>("CmdDelGrupo"), Qt::LeftButton);
        QVERIFY(r->clicada);
    };
    if (operacao == "Insert") {
        QTest::mouseClick(p.findChild<QWidget*>("CmdNewGrupo"), Qt::LeftButton);
        Digitar(nome, QStringLiteral("Lazer"));
    }
    gravar();
    QCOMPARE(falhas.size(), 1);
    QVERIFY(falhas.first().first().toString().contains(QStringLiteral("recusado")));
    QCOMPARE(m_banco->Linhas(Grupos), grupos);
    QCOMPARE(m_banco->Linhas(Fazelas), fazelas);
    QCOMPARE(Itens(p.findChild<QComboBox*>("cmbGrupo")), lista);
    QCOMPARE(painel->isVisible(), operacao == "Insert");
    QCOMPARE(p.findChild<QWidget*>("PicPrancheta")->isEnabled(), operacao != "Insert");
    QCOMPARE(nome->text(), operacao == "Insert" ? QStringLiteral("Lazer") : QString());
    // Nothing is left holding the file, and once the cause is gone the same action writes.
    m_banco->Executar("Drop Trigger recusa");
    gravar();
    QCOMPARE(falhas.size(), 1);
    QVERIFY(m_banco->Linhas(Grupos) != grupos);
    QVERIFY(painel->isHidden() && p.findChild<QWidget*>("PicPrancheta")->isEnabled());
}

QTEST_MAIN(TstGrupos)
#include "tst_grupos.moc"

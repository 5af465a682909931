// The group list and the group panel on their own, and what the board does with them: the
// group shown at start, and deleting the current group with its tasks.
#include "apoio/Apoio.h"
#include "grid/Grade.h"
#include "groups/ListaGrupos.h"
#include "groups/PainelGrupo.h"
#include "shell/Desdobramento.h"

#include <QPushButton>

namespace {

const QString Grupos = QStringLiteral("Select * from Grupo_Fazela Order By Codigo");
const QString Fazelas = QStringLiteral("Select * from Fazelas Order By Codigo");

const char* const Varios
    = "Insert into Grupo_Fazela values (1,'zebra'), (2,'Água'), (3,'abacaxi'), (4,'ônibus'),"
      " (5,'Casa'), (6,'banana'), (7,'Casa'), (8,''), (9,'A - B'), (10,'d''Ávila');"
      "Insert into Fazelas(Cod_Grupo,Fazela,Prioridade) values (1,'um',3), (2,'dois',3), (7,'sete',3), (9,'nove',3);";
// Every write of the settings row leaves its value in Gravacoes.
const char* const Gatilho
    = ";Create Table Gravacoes(Valor);"
      "Create Trigger gravou After Update On Config Begin Insert Into Gravacoes Values (new.Ultimo_Grupo); End;";

const char* const DoisGrupos = "Insert into Grupo_Fazela values (1,'Casa'), (2,'Trabalho');"
                               "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Prioridade) values"
                               " (10,1,'Varrer',3), (20,2,'Relatório',2), (21,2,'Reunião',5);"
                               "Update Config set Ultimo_Grupo = 2";

// A part of the board on a window of its own.
template <class Parte> struct Sozinha
{
    QWidget janela;
    Construtor construtor { 1 };
    Desdobramento desdobramento;
    Parte* parte;
    template <class... Args> explicit Sozinha(Args&&... args)
    {
        if constexpr (std::is_same_v<Parte, PainelGrupo>)
            parte = new Parte(&janela, construtor, std::forward<Args>(args)..., desdobramento);
        else
            parte = new Parte(&janela, construtor, std::forward<Args>(args)...);
        janela.resize(454, 595);
    }
    template <class T = QWidget> T* c(const char* nome) { return construtor.controle<T>(QString::fromLatin1(nome)); }
};

} // namespace

class TstGrupos : public ComPrancheta
{
    Q_OBJECT
public:
    TstGrupos()
        : ComPrancheta(Espera::Ativa)
    {
    }

private slots:
    void inicio_data();
    void inicio();
    void incluir_data();
    void incluir();
    void excluir_data();
    void excluir();
    void falhaAoGravar_data();
    void falhaAoGravar();

private:
    QVariantList gravacoes() const;
};

QVariantList TstGrupos::gravacoes() const
{
    QVariantList valores;
    for (const QVariantList& linha : m_banco->linhas("Select Valor from Gravacoes"))
        valores << linha.first();
    return valores;
}

void TstGrupos::inicio_data()
{
    // clang-format off
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
    // clang-format on
}

// Start-up reads the settings row and never writes it.
void TstGrupos::inicio()
{
    QFETCH(QString, lembrado);
    QFETCH(int, atual);
    QFETCH(QString, item);
    QFETCH(QString, linha0);
    QFETCH(bool, duasEtapas);
    m_banco->executar(QString(Varios)
        + (lembrado == "-" ? "Delete from Config" : "Update Config set Ultimo_Grupo = " + lembrado) + Gatilho);
    if (duasEtapas) // a group longer than the board
        m_banco->executar("With recursive n(i) as (Select 0 Union All Select i + 1 from n where i < 29) Insert into"
                          " Fazelas(Cod_Grupo,Fazela,Prioridade) Select 2, printf('t%02d', i), 3 from n");
    Prancheta p(m_banco->banco(), duasEtapas ? Prancheta::Montagem::EmDuasEtapas : Prancheta::Montagem::Completa);
    p.iniciar();
    auto* rolagem = p.findChild<QScrollBar*>("VscGrade");
    if (duasEtapas) {
        // The scroll bar knows the whole group from the start; the rest of it follows the map.
        QCOMPARE(rolagem->maximum(), 31 - 23);
        p.concluirMontagem();
        QCOMPARE(rolagem->maximum(), 31 - 23);
        rolagem->setValue(8);
        QCOMPARE(p.findChild<QLabel*>("Linha(22)")->text(), QStringLiteral("  dois"));
    }
    QCOMPARE(p.findChild<QComboBox*>("cmbGrupo")->currentText(), item);
    QCOMPARE(p.findChild<ListaGrupos*>()->grupoAtual(), atual);
    rolagem->setValue(0);
    QCOMPARE(p.findChild<QLabel*>("Linha(0)")->text(), linha0);
    if (!duasEtapas)
        QCOMPARE(p.findChild<QLabel*>("Linha(10)")->text(),
            atual == 8 ? QStringLiteral("Sem Fazelas Cadastradas !        ") : QString());
    QVERIFY(gravacoes().isEmpty());
}

void TstGrupos::incluir_data()
{
    // clang-format off
    QTest::addColumn<QString>("preparo");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<bool>("enter"); // added by Enter in the box, or by the button
    QTest::addColumn<int>("codigo");
    QTest::newRow("tabela vazia") << "" << "Casa d'Ávila" << false << 1;
    QTest::newRow("depois de 1 e 7") << "Insert into Grupo_Fazela values (1,'Zeta'),(7,'Beta')"
        << "Alfa \"x\"; \\ 'y' 🙂" << false << 8;
    QTest::newRow("sem nome") << "Insert into Grupo_Fazela values (3,'Casa')" << "" << false << 4;
    QTest::newRow("nome repetido, Enter") << "Insert into Grupo_Fazela values (3,'Casa')" << "Casa" << true << 4;
    // The box is full when Enter comes: the add closes the panel, and the focus stays put.
    QTest::newRow("cheio, Enter") << DoisGrupos << QString(50, QLatin1Char('g')) << true << 3;
    // clang-format on
}

void TstGrupos::incluir()
{
    QFETCH(QString, preparo);
    QFETCH(QString, nome);
    QFETCH(bool, enter);
    QFETCH(int, codigo);
    if (!preparo.isEmpty())
        m_banco->executar(preparo);
    Sozinha<PainelGrupo> g(m_banco->banco());
    g.janela.show();
    g.janela.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&g.janela));
    const auto antes = m_banco->linhas(Grupos);
    g.c<QLineEdit>("txtGrupoGrupo")->setText(QStringLiteral("o nome da vez anterior"));
    g.parte->abrir();
    QVERIFY(g.parte->isVisible());
    QTRY_COMPARE(g.parte->size(), QSize(px(4365), px(1725)));
    QCOMPARE(g.c<QLineEdit>("txtGrupoGrupo")->text(), QString());
    QSignalSpy incluidos(g.parte, &PainelGrupo::grupoIncluido);
    digitar(g.c("txtGrupoGrupo"), nome);
    if (enter)
        QTest::keyClick(g.c("txtGrupoGrupo"), Qt::Key_Return);
    else
        QTest::mouseClick(g.c("CmdGrupoIncluir"), Qt::LeftButton);
    QVERIFY(g.parte->isHidden());
    QVERIFY(!enter || QApplication::focusWidget() != g.c("CmdGrupoIncluir"));
    QCOMPARE(m_banco->linhas(Grupos), antes + QList<QVariantList>({ { codigo, nome } }));
    QCOMPARE(incluidos.size(), 1);
    QCOMPARE(incluidos.first().first().toLongLong(), codigo);
}

void TstGrupos::excluir_data()
{
    // clang-format off
    QTest::addColumn<QString>("preparo");
    QTest::addColumn<QString>("botao"); // empty: no question is asked
    QTest::addColumn<QList<QVariantList>>("grupos");
    QTest::addColumn<QList<QVariantList>>("fazelas");
    QTest::addColumn<QStringList>("lista");
    QTest::addColumn<int>("atual");
    const QList<QVariantList> nada;
    QTest::newRow("sem grupo atual") << "Select 1" << "" << nada << nada << QStringList { ListaGrupos::SemGrupos } << 0;
    QTest::newRow("cancelado") << DoisGrupos << "CmdMensagemCancelar"
        << QList<QVariantList> { { 1, "Casa" }, { 2, "Trabalho" } }
        << QList<QVariantList> { { 10 }, { 20 }, { 21 } } << QStringList { " 1 - Casa", " 2 - Trabalho" } << 2;
    // The group shown is deleted, not the one remembered at start; the first group left becomes
    // current, remembered and shown.
    QTest::newRow("confirmado")
        << QString(DoisGrupos) + ";Insert into Grupo_Fazela values (3,'Zoo');"
           "Insert into Fazelas(Codigo,Cod_Grupo,Fazela) values (30,3,'x')"
        << "CmdMensagemConfirmar" << QList<QVariantList> { { 1, "Casa" }, { 2, "Trabalho" } }
        << QList<QVariantList> { { 10 }, { 20 }, { 21 } } << QStringList { " 1 - Casa", " 2 - Trabalho" } << 1;
    QTest::newRow("o único grupo")
        << "Insert into Grupo_Fazela values (5,'Casa');"
           "Insert into Fazelas(Codigo,Cod_Grupo,Fazela) values (50,5,'Varrer'); Update Config set Ultimo_Grupo = 5"
        << "CmdMensagemConfirmar" << nada << nada << QStringList { ListaGrupos::SemGrupos } << 0;
    // clang-format on
}

void TstGrupos::excluir()
{
    QFETCH(QString, preparo);
    QFETCH(QString, botao);
    QFETCH(QList<QVariantList>, grupos);
    QFETCH(QList<QVariantList>, fazelas);
    QFETCH(QStringList, lista);
    QFETCH(int, atual);
    iniciar(preparo);
    auto* cmb = controle<ListaGrupos>("cmbGrupo");
    if (QTest::currentDataTag() == QLatin1String("confirmado")) {
        cmb->setCurrentIndex(2);
        emit cmb->activated(2);
    }
    auto r = responderQuandoEsperar(&p(), botao.isEmpty() ? "CmdMensagemOkay" : botao);
    clicar("CmdDelGrupo");
    QCOMPARE(r->clicada, !botao.isEmpty()); // no group current: no question either
    if (r->clicada) {
        QCOMPARE(r->texto, QStringLiteral("Confirma Exclusão do Grupo e suas Fazelas ?"));
        QVERIFY(r->confirmar && r->cancelar && !r->okay && !r->pranchetaHabilitada);
    }
    QVERIFY(controle("PicPrancheta")->isEnabled());
    QCOMPARE(m_banco->linhas(Grupos), grupos);
    QCOMPARE(m_banco->linhas("Select Codigo from Fazelas Order By Codigo"), fazelas);
    QCOMPARE(itens(cmb), lista);
    QCOMPARE(cmb->grupoAtual(), atual);
    QCOMPARE(m_banco->valor("Select Ultimo_Grupo from Config").toInt(), atual);
    QCOMPARE(p().findChild<Grade*>()->quantidade(),
        m_banco->valor("Select count(*) from Fazelas Where Cod_Grupo = ?", { atual }).toLongLong());
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
    Prancheta& p = iniciar(DoisGrupos);
    m_banco->executar(
        "Create Trigger recusa Before " + operacao + " On Grupo_Fazela Begin Select Raise(Abort, 'recusado'); End");
    const auto grupos = m_banco->linhas(Grupos);
    const auto fazelas = m_banco->linhas(Fazelas);
    const QStringList lista = itens(p.findChild<QComboBox*>("cmbGrupo"));
    auto* painel = p.findChild<QWidget*>("FrmGrupo");
    auto* nome = p.findChild<QLineEdit*>("txtGrupoGrupo");
    QSignalSpy falhas(&p, &Prancheta::falhaAoGravar);
    const auto gravar = [&] {
        if (operacao == "Insert") {
            QTest::mouseClick(p.findChild<QWidget*>("CmdGrupoIncluir"), Qt::LeftButton);
            return;
        }
        auto r = responderQuandoEsperar(&p, "CmdMensagemConfirmar");
        QTest::mouseClick(p.findChild<QWidget*>("CmdDelGrupo"), Qt::LeftButton);
        QVERIFY(r->clicada);
    };
    if (operacao == "Insert") {
        QTest::mouseClick(p.findChild<QWidget*>("CmdNewGrupo"), Qt::LeftButton);
        QTRY_COMPARE(painel->size(), QSize(px(4365), px(1725)));
        digitar(nome, QStringLiteral("Lazer"));
    }
    gravar();
    QCOMPARE(falhas.size(), 1);
    QVERIFY(falhas.first().first().toString().contains(QStringLiteral("recusado")));
    QCOMPARE(m_banco->linhas(Grupos), grupos);
    QCOMPARE(m_banco->linhas(Fazelas), fazelas);
    QCOMPARE(itens(p.findChild<QComboBox*>("cmbGrupo")), lista);
    QCOMPARE(painel->isVisible(), operacao == "Insert");
    QCOMPARE(p.findChild<QWidget*>("PicPrancheta")->isEnabled(), operacao != "Insert");
    QCOMPARE(nome->text(), operacao == "Insert" ? QStringLiteral("Lazer") : QString());
    // Nothing is left holding the file, and once the cause is gone the same action writes.
    m_banco->executar("Drop Trigger recusa");
    gravar();
    QCOMPARE(falhas.size(), 1);
    QVERIFY(m_banco->linhas(Grupos) != grupos);
    QVERIFY(painel->isHidden() && p.findChild<QWidget*>("PicPrancheta")->isEnabled());
    // A failure while the board only reads is reported too (the program then ends).
    QSignalSpy graves(&p, &Prancheta::falhaNoBanco);
    m_banco->executar("Drop Table Fazelas");
    emit p.findChild<QComboBox*>("cmbGrupo")->activated(0);
    QCOMPARE(graves.size(), 1);
}

QTEST_MAIN(TstGrupos)
#include "tst_grupos.moc"

// Adding groups through the group panel and deleting the current group with its tasks.
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "editor/Digitar.h"
#include "grid/Grade.h"
#include "message/Responder.h"
#include "shell/Prancheta.h"

#include <QtTest>

using namespace Modulo;

namespace {

const QString Grupos = QStringLiteral("Select * from Grupo_Fazela Order By Codigo");
const QString Fazelas = QStringLiteral("Select * from Fazelas Order By Codigo");

const char* DoisGrupos = "Insert into Grupo_Fazela values (1,'Casa');"
                         "Insert into Grupo_Fazela values (2,'Trabalho');"
                         "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Prioridade) values"
                         " (10,1,'Varrer',3), (20,2,'Relatório',2), (21,2,'Reunião',5);"
                         "Update Config set Ultimo_Grupo = 2";

} // namespace

class TstEdicaoGrupos : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void incluir_data();
    void incluir();
    void enterNoNome_data();
    void enterNoNome();
    void caixaCheiaLevaAoBotao();
    void cancelarOuFecharNaoGrava_data();
    void cancelarOuFecharNaoGrava();
    void excluir_data();
    void excluir();
    void falhaEntreAsExclusoesNaoApagaNada();

private:
    void Iniciar(const QString& preparo);
    Prancheta& p() { return *m_p; }
    void AbrirPainel();

    std::unique_ptr<BancoDeTeste> m_banco;
    std::unique_ptr<Prancheta> m_p;
};

void TstEdicaoGrupos::Iniciar(const QString& preparo)
{
    m_banco = std::make_unique<BancoDeTeste>();
    if (!preparo.isEmpty())
        m_banco->Executar(preparo);
    m_p = std::make_unique<Prancheta>();
    QVERIFY(m_p->Form_Load());
    m_p->show();
    m_p->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_p.get()));
}

void TstEdicaoGrupos::cleanup()
{
    m_p.reset();
    m_banco.reset();
}

void TstEdicaoGrupos::AbrirPainel()
{
    p().txtGrupoGrupo->setText(QStringLiteral("o nome da vez anterior"));
    QTest::mouseClick(p().CmdNewGrupo, Qt::LeftButton);
    QVERIFY(p().FrmGrupo->isVisible());
    QCOMPARE(p().FrmGrupo->size(), QSize(Px(4365), Px(1725)));
    QVERIFY(!p().PicPrancheta->isEnabled());
    QCOMPARE(p().txtGrupoGrupo->text(), QString());
}

void TstEdicaoGrupos::incluir_data()
{
    QTest::addColumn<QString>("preparo");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<int>("codigo");
    QTest::addColumn<int>("atual");
    QTest::newRow("tabela vazia") << ""
                                  << "Casa d'Ávila" << 1 << 1;
    QTest::newRow("depois de 1 e 7") << "Insert into Grupo_Fazela values (1,'Zeta'),(7,'Beta');"
                                        "Update Config set Ultimo_Grupo = 1"
                                     << "Alfa \"x\"; \\ 'y' 🙂" << 8 << 1;
    QTest::newRow("sem nome, sem grupo atual") << "Insert into Grupo_Fazela values (3,'Casa')"
                                               << "" << 4 << 4;
    QTest::newRow("nome repetido") << "Insert into Grupo_Fazela values (3,'Casa');"
                                      "Update Config set Ultimo_Grupo = 3"
                                   << "Casa" << 4 << 3;
}

void TstEdicaoGrupos::incluir()
{
    QFETCH(QString, preparo);
    QFETCH(QString, nome);
    QFETCH(int, codigo);
    QFETCH(int, atual);
    Iniciar(preparo);
    const auto antes = m_banco->Linhas(Grupos);
    AbrirPainel();
    Digitar(p().txtGrupoGrupo, nome);
    QTest::mouseClick(p().CmdGrupoIncluir, Qt::LeftButton);

    QVERIFY(p().FrmGrupo->isHidden());
    QVERIFY(p().PicPrancheta->isEnabled());
    QCOMPARE(m_banco->Linhas(Grupos), antes + QList<QVariantList>({ { codigo, nome } }));
    QVERIFY(Itens(p().cmbGrupo).contains(QStringLiteral(" %1 - %2").arg(codigo).arg(nome)));
    QCOMPARE(GrupoAtual, atual);
    QVERIFY(p().cmbGrupo->currentText().startsWith(QStringLiteral(" %1 - ").arg(atual)));
}

void TstEdicaoGrupos::enterNoNome_data()
{
    QTest::addColumn<QString>("nome");
    QTest::newRow("curto") << "Novo";
    // The box is full when Enter comes: the add closes the panel, and the focus stays put.
    QTest::newRow("cheio") << QString(50, QLatin1Char('g'));
}

void TstEdicaoGrupos::enterNoNome()
{
    QFETCH(QString, nome);
    Iniciar(DoisGrupos);
    AbrirPainel();
    Digitar(p().txtGrupoGrupo, nome);
    QTest::keyClick(p().txtGrupoGrupo, Qt::Key_Return);
    QVERIFY(p().FrmGrupo->isHidden());
    QVERIFY(p().PicPrancheta->isEnabled());
    QCOMPARE(m_banco->Valor("Select Grupo from Grupo_Fazela Where Codigo = 3").toString(), nome);
    QVERIFY(QApplication::focusWidget() != p().CmdGrupoIncluir);
    QCOMPARE(GrupoAtual, 2);

    // Opening again starts from an empty box, with the focus where the board left it.
    AbrirPainel();
    QVERIFY(QApplication::focusWidget() != p().CmdGrupoIncluir);
}

void TstEdicaoGrupos::caixaCheiaLevaAoBotao()
{
    Iniciar(DoisGrupos);
    const auto antes = m_banco->Linhas(Grupos);
    AbrirPainel();
    const QString cheio(50, QLatin1Char('g'));
    Digitar(p().txtGrupoGrupo, cheio);
    QTest::keyClick(p().txtGrupoGrupo, Qt::Key_X);
    QCOMPARE(QApplication::focusWidget(), p().CmdGrupoIncluir);
    QCOMPARE(p().txtGrupoGrupo->text(), cheio);
    QCOMPARE(m_banco->Linhas(Grupos), antes);
    QVERIFY(p().FrmGrupo->isVisible());
}

void TstEdicaoGrupos::cancelarOuFecharNaoGrava_data()
{
    QTest::addColumn<QString>("controle");
    QTest::newRow("cancelar") << "CmdGrupoCancel";
    QTest::newRow("fechar") << "ImgGrupoSair";
}

void TstEdicaoGrupos::cancelarOuFecharNaoGrava()
{
    QFETCH(QString, controle);
    Iniciar(DoisGrupos);
    const auto antes = m_banco->Linhas(Grupos);
    AbrirPainel();
    Digitar(p().txtGrupoGrupo, QStringLiteral("Não fica"));
    QTest::mouseClick(p().FrmGrupo->findChild<QWidget*>(controle), Qt::LeftButton);
    QVERIFY(p().FrmGrupo->isHidden());
    QVERIFY(p().PicPrancheta->isEnabled());
    QCOMPARE(m_banco->Linhas(Grupos), antes);
    QCOMPARE(GrupoAtual, 2);
}

void TstEdicaoGrupos::excluir_data()
{
    QTest::addColumn<QString>("preparo");
    QTest::addColumn<QString>("botao"); // empty: no question is asked
    QTest::addColumn<QList<QVariantList>>("grupos");
    QTest::addColumn<QList<QVariantList>>("fazelas");
    QTest::addColumn<QStringList>("lista");
    QTest::addColumn<int>("atual");
    const QList<QVariantList> todasAsFazelas { { 10 }, { 20 }, { 21 } };
    const QList<QVariantList> nada;
    QTest::newRow("sem grupo atual") << ""
                                     << "" << nada << nada << QStringList { SemGrupos } << 0;
    QTest::newRow("cancelado") << DoisGrupos << "CmdMensagemCancelar"
                               << QList<QVariantList> { { 1, "Casa" }, { 2, "Trabalho" } } << todasAsFazelas
                               << QStringList { " 1 - Casa", " 2 - Trabalho" } << 2;
    // The first group left becomes current, remembered and shown.
    QTest::newRow("confirmado") << DoisGrupos << "CmdMensagemConfirmar" << QList<QVariantList> { { 1, "Casa" } }
                                << QList<QVariantList> { { 10 } } << QStringList { " 1 - Casa" } << 1;
    QTest::newRow("o único grupo") << "Insert into Grupo_Fazela values (5,'Casa');"
                                      "Insert into Fazelas(Codigo,Cod_Grupo,Fazela) values (50,5,'Varrer');"
                                      "Update Config set Ultimo_Grupo = 5"
                                   << "CmdMensagemConfirmar" << nada << nada << QStringList { SemGrupos } << 0;
}

void TstEdicaoGrupos::excluir()
{
    QFETCH(QString, preparo);
    QFETCH(QString, botao);
    QFETCH(QList<QVariantList>, grupos);
    QFETCH(QList<QVariantList>, fazelas);
    QFETCH(QStringList, lista);
    QFETCH(int, atual);
    Iniciar(preparo);
    MsgBoxResposta = 9;
    auto r = ResponderQuandoEsperar(p(), [&] { return p().FrmMensagem->findChild<QWidget*>(botao); });
    QTest::mouseClick(p().CmdDelGrupo, Qt::LeftButton);

    if (botao.isEmpty()) {
        QCOMPARE(MsgBoxResposta, uint8_t(9));
    } else {
        QVERIFY(r->clicada);
        QCOMPARE(r->texto, QStringLiteral("Confirma Exclusão do Grupo e suas Fazelas ?"));
        QVERIFY(r->confirmar && r->cancelar && !r->okay);
    }
    QVERIFY(p().PicPrancheta->isEnabled());
    QCOMPARE(m_banco->Linhas(Grupos), grupos);
    QCOMPARE(m_banco->Linhas("Select Codigo from Fazelas Order By Codigo"), fazelas);
    QCOMPARE(Itens(p().cmbGrupo), lista);
    QCOMPARE(GrupoAtual, atual);
    QCOMPARE(m_banco->Valor("Select Ultimo_Grupo from Config").toInt(), atual);
    QCOMPARE(qsizetype(GradeItens.size()),
        m_banco->Valor(QStringLiteral("Select count(*) from Fazelas Where Cod_Grupo = %1").arg(atual)).toLongLong());
}

void TstEdicaoGrupos::falhaEntreAsExclusoesNaoApagaNada()
{
    Iniciar(DoisGrupos);
    m_banco->Executar("Create Trigger recusa Before Delete On Grupo_Fazela Begin Select Raise(Abort, 'recusado'); End");
    const auto grupos = m_banco->Linhas(Grupos);
    const auto fazelas = m_banco->Linhas(Fazelas);
    QSignalSpy falhas(&p(), &Prancheta::FalhaNoBanco);
    auto r = ResponderQuandoEsperar(p(), [&] { return p().CmdMensagemConfirmar; });
    QTest::mouseClick(p().CmdDelGrupo, Qt::LeftButton);
    QVERIFY(r->clicada);
    QCOMPARE(falhas.size(), 1);
    QVERIFY(falhas.first().first().toString().contains(QStringLiteral("recusado")));
    // The tasks deleted first came back with the group.
    QCOMPARE(m_banco->Linhas(Grupos), grupos);
    QCOMPARE(m_banco->Linhas(Fazelas), fazelas);
    // Nothing is left holding the file.
    m_banco->Executar("Insert into Grupo_Fazela values (9,'Depois')");
}

QTEST_MAIN(TstEdicaoGrupos)
#include "tst_edicao_grupos.moc"

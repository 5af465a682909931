// The grid against real files: order, colours and marks, the buffer behind the scroll bar, and the
// row under the pointer being always the task a click or a double-click acts on.
#include "apoio/Apoio.h"
#include "apoio/ArquivoObservado.h"
#include "data/Modulo.h"
#include "grid/Grade.h"

#include <QSignalSpy>
#include <functional>
#include <sqlite3.h>

using namespace Modulo;

namespace {

// Another program writing the file between two of the board's reads: every time a reader of the
// file lets it go (a read ends), the file is changed at once through a connection of its own, as
// the sqlite3 shell or a sync tool would, and what the file then holds is noted (`consulta`).
class OutroEscritor
{
public:
    OutroEscritor(const QString& arquivo, std::function<QString(int)> escrita, const char* consulta)
        : m_escrita(std::move(escrita))
        , m_consulta(consulta)
    {
        QVERIFY(sqlite3_open_v2(QFile::encodeName(arquivo).constData(), &m_db, SQLITE_OPEN_READWRITE, "unix") == SQLITE_OK);
        anotar();
        m_observado.aoLiberar = [this] { escrever(); };
    }
    ~OutroEscritor() { sqlite3_close(m_db); }
    // What the file held at start and after each write.
    const QStringList& estados() const { return m_estados; }

private:
    void escrever()
    {
        const QString sql = m_escrita(m_vez++);
        if (sql.isEmpty())
            return;
        QCOMPARE(sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        anotar();
    }
    void anotar()
    {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(m_db, m_consulta, -1, &st, nullptr);
        m_estados << (sqlite3_step(st) == SQLITE_ROW ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))) : QString());
        sqlite3_finalize(st);
    }

    ArquivoObservado m_observado;
    sqlite3* m_db = nullptr;
    std::function<QString(int)> m_escrita;
    const char* m_consulta;
    QStringList m_estados;
    int m_vez = 0;
};

// Group 1 holds 30 tasks named by their place in the grid's order (priority, then description),
// codes 40000 on; group 2 holds 3. Every tick written is logged by the file itself.
const QString Muitas = [] {
    QString sql = "Insert into Grupo_Fazela values (1,'Muitas'), (2,'Poucas');"
                  "Create Table Gravacoes (Codigo, Executado);"
                  "Create Trigger Registrar After Update Of Executado On Fazelas Begin "
                  "Insert into Gravacoes values (new.Codigo, new.Executado); End;"
                  "Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) values (2,'a','1',1),(2,'b','2',1),(2,'c','3',1);"
                  "Update Config set Ultimo_Grupo = 1;";
    for (int i = 0; i < 30; ++i)
        sql += QStringLiteral("Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade) values (%1,1,'t%2','d%2',%3);")
                   .arg(40000 + i).arg(i, 2, 10, QChar('0')).arg(5 - i / 10);
    return sql;
}();

} // namespace

class TstGrade : public ComPrancheta
{
    Q_OBJECT
private slots:
    void linhasPintadas();
    void limiteDasLinhas_data();
    void limiteDasLinhas();
    void grupoSemFazelas();
    void rolagemEAcoesNaLinhaCerta();
    void recargaMantemLinhasEAcoesEmPasso_data();
    void recargaMantemLinhasEAcoesEmPasso();
    void outroProgramaEntreAsLeituras_data();
    void outroProgramaEntreAsLeituras();
    void codigosDe64Bits();
    void duploCliqueNaMarcaMudaUmaVez();

private:
    // Every painted row shows the entry the scroll position puts under it.
    bool EmPasso() const;
};

bool TstGrade::EmPasso() const
{
    for (int i = 0; i < QtdLinhas; ++i) {
        const size_t e = size_t(i + m_p->VscGrade->value());
        if (m_p->Linha[i]->text() != (e < GradeItens.size() ? "  " + GradeItens[e].Fazela : QString()))
            return false;
    }
    return true;
}

void TstGrade::linhasPintadas()
{
    // Equal priorities go by description in Portuguese order; any text in Executado is done; rows
    // other tools wrote (a Null name, priorities Null or out of range) show as transparent rows.
    Prancheta& p = Iniciar("Insert into Grupo_Fazela values (1,'Casa'), (2,'Outro');"
                           "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade,Executado) values"
                           " (1,1,'Zé','zebra',3,null), (2,1,'Ana','Água',3,'S'), (3,1,'Bia','abacaxi',3,'x'),"
                           " (4,1,'Caio','ônibus',3,''), (70000,1,'Urgente',null,5,null), (8,1,'Nada','n',0,null),"
                           " (9,1,'Branca','b',1,null), (10,2,'Alheia','a',4,null), (11,1,null,'c',4,null),"
                           " (12,1,'Nove','o',9,null), (13,1,'Nula','p',null,null), (14,1,'Baixa','q',2,null);"
                           "Update Config set Ultimo_Grupo = 1");
    struct Linha { const char* nome; int codigo; QColor cor; bool feita; };
    const QColor nenhuma;
    const QList<Linha> esperadas = {{"Nove", 12, nenhuma, false}, {"Urgente", 70000, QColor(255, 128, 128), false},
        {"", 11, QColor(255, 255, 128), false},
        {"Bia", 3, QColor(128, 255, 128), true}, {"Ana", 2, QColor(128, 255, 128), true},
        {"Caio", 4, QColor(128, 255, 128), false}, {"Zé", 1, QColor(128, 255, 128), false},
        {"Baixa", 14, QColor(192, 192, 255), false}, {"Branca", 9, QColor(255, 255, 255), false},
        {"Nada", 8, nenhuma, false}, {"Nula", 13, nenhuma, false}};
    QCOMPARE(QtdItens, esperadas.size());
    for (int i = 0; i < esperadas.size(); ++i) {
        const Linha& e = esperadas[i];
        QCOMPARE(p.Linha[i]->text(), QStringLiteral("  ") + e.nome);
        QCOMPARE(GradeItens[i].Codigo, e.codigo);
        QCOMPARE(p.Linha[i]->Opaco(), e.cor.isValid());
        if (e.cor.isValid())
            QCOMPARE(p.Linha[i]->CorFundo(), e.cor);
        QCOMPARE(p.ImgLinha[i]->TemPicture(), e.feita);
        QVERIFY(p.Linha[i]->Borda() && p.ImgLinha[i]->Borda());
    }
    QCOMPARE(p.Linha[3]->toolTip(), QStringLiteral("abacaxi"));
    QVERIFY(!p.Linha[11]->Borda() && p.Linha[11]->text().isEmpty());
    QVERIFY(!p.VscGrade->isVisible());
    QVERIFY(!Conexao && !RegistrosGrade->Aberto());
}

void TstGrade::limiteDasLinhas_data()
{
    QTest::addColumn<int>("n");
    QTest::newRow("22") << 22;
    QTest::newRow("23") << 23;
    QTest::newRow("24") << 24;
}

void TstGrade::limiteDasLinhas()
{
    QFETCH(int, n);
    Prancheta& p = Iniciar(Tarefas(n) + "Update Config set Ultimo_Grupo = 1");
    QCOMPARE(QtdItens, n);
    QCOMPARE(GradeItens.back().Fazela, QStringLiteral("t%1").arg(n - 1));
    for (int i = 0; i < QtdLinhas; ++i) {
        QCOMPARE(p.Linha[i]->text(), i < n ? QStringLiteral("  t%1").arg(i) : QString());
        QCOMPARE(p.Linha[i]->Borda(), i < n);
    }
    QCOMPARE(p.VscGrade->isVisible(), n > QtdLinhas);
    QCOMPARE(p.VscGrade->maximum(), std::max(0, n - QtdLinhas));
}

void TstGrade::grupoSemFazelas()
{
    Prancheta& p = Iniciar(Tarefas(40) + "Insert into Grupo_Fazela values (2,'vazio'); Update Config set Ultimo_Grupo = 1");
    p.VscGrade->setValue(10);
    for (int grupo : {2, 99}) { // an empty group, and a group that no longer exists
        p.AlimentarGrade(grupo);
        QCOMPARE(QtdItens, 0);
        QCOMPARE(p.VscGrade->value(), 0);
        Rotulo* l = p.Linha[LinhaDaMensagem];
        QCOMPARE(l->text(), QStringLiteral("Sem Fazelas Cadastradas !        "));
        QCOMPARE(l->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QVERIFY(l->font().bold() && l->font().italic() && !l->Borda());
        for (int i = 0; i < QtdLinhas; ++i)
            QVERIFY(i == LinhaDaMensagem || (p.Linha[i]->text().isEmpty() && !p.Linha[i]->Borda()));
        // Its rows answer nothing.
        QTest::mouseClick(p.ImgLinha[LinhaDaMensagem], Qt::LeftButton);
        QTest::mouseDClick(p.Linha[LinhaDaMensagem], Qt::LeftButton);
        QTest::mouseClick(p.ImgLinha[3], Qt::LeftButton);
        QVERIFY(p.FrmFazela->isHidden() && !p.ImgLinha[LinhaDaMensagem]->TemPicture());
    }
    // The next group's rows are plain again, the message row included; reloading without a
    // scroll event in the middle.
    QSignalSpy rolagens(p.VscGrade, &QScrollBar::valueChanged);
    p.AlimentarGrade(1);
    QCOMPARE(rolagens.count(), 0);
    QVERIFY(!p.Linha[LinhaDaMensagem]->font().bold());
    QCOMPARE(p.Linha[LinhaDaMensagem]->text(), QStringLiteral("  t10"));
    QCOMPARE(m_banco->Valor("Select count(*) from Fazelas Where Executado is not null").toInt(), 0);
}

void TstGrade::rolagemEAcoesNaLinhaCerta()
{
    Prancheta& p = Iniciar(Muitas);
    QCOMPARE(p.VscGrade->maximum(), 7);
    GradeItens[24].Executado = true; // as a tick made earlier leaves it
    p.VscGrade->setFocus();
    QTest::keyClick(p.VscGrade, Qt::Key_Down);
    QCOMPARE(p.Linha[0]->text(), QStringLiteral("  t01"));
    QCOMPARE(p.Linha[22]->text(), QStringLiteral("  t23"));
    QCOMPARE(p.Linha[22]->toolTip(), QStringLiteral("d23"));
    QVERIFY(p.PicFocus->hasFocus()); // arrow keys no longer reach the scroll bar
    p.VscGrade->setValue(7);
    QVERIFY(p.ImgLinha[17]->TemPicture() && !p.ImgLinha[16]->TemPicture());
    QCOMPARE(p.Linha[12]->CorFundo(), QColor(255, 255, 128)); // the colours follow the entries
    QCOMPARE(p.Linha[13]->CorFundo(), QColor(128, 255, 128));
    // Rows follow the thumb while it is dragged.
    p.VscGrade->setSliderDown(true);
    p.VscGrade->setSliderPosition(4);
    QCOMPARE(p.Linha[0]->text(), QStringLiteral("  t04"));
    p.VscGrade->setSliderDown(false);
    QCOMPARE(p.VscGrade->value(), 4);
    QVERIFY(EmPasso());

    // A tick on a scrolled grid, and its undoing, write the task of that row only.
    QTest::mouseClick(p.ImgLinha[3], Qt::LeftButton);
    QTest::mouseClick(p.ImgLinha[5], Qt::LeftButton);
    QTest::mouseClick(p.ImgLinha[5], Qt::LeftButton);
    QCOMPARE(m_banco->Linhas("Select Codigo, Executado from Gravacoes"),
             (QList<QVariantList>{{40007, "S"}, {40009, "S"}, {40009, QVariant()}}));
    QVERIFY(GradeItens[7].Executado && !GradeItens[9].Executado);
    p.VscGrade->setValue(0);
    QVERIFY(p.ImgLinha[7]->TemPicture() && !p.ImgLinha[3]->TemPicture());
    QVERIFY(!Conexao);

    // A double-click opens the task of its row, and the change goes to that task alone.
    p.VscGrade->setValue(6);
    QTest::mouseDClick(p.Linha[20], Qt::LeftButton);
    QTRY_VERIFY(p.FrmFazela->isVisible());
    QCOMPARE(p.txtFazelaCodigo->text(), QStringLiteral("40026"));
    QCOMPARE(p.txtFazelaNome->text(), QStringLiteral("t26"));
    p.CmbFazelaPrior->setCurrentIndex(4);
    QTest::mouseClick(p.CmdFazelaAlterar, Qt::LeftButton);
    QCOMPARE(m_banco->Valor("Select Prioridade from Fazelas Where Codigo = 40026").toInt(), 5);
    QCOMPARE(m_banco->Valor("Select count(*) from Fazelas Where Prioridade = 5").toInt(), 11);
    // A right button's double-click is no double-click.
    QTest::mouseDClick(p.Linha[2], Qt::RightButton);
    QVERIFY(p.FrmFazela->isHidden());
}

void TstGrade::recargaMantemLinhasEAcoesEmPasso_data()
{
    QTest::addColumn<int>("recarga");
    QTest::newRow("outro grupo") << 0;
    QTest::newRow("grupo excluido") << 1;
    QTest::newRow("fazela incluida") << 2;
    QTest::newRow("fazela alterada") << 3;
    QTest::newRow("fazela excluida") << 4;
}

void TstGrade::recargaMantemLinhasEAcoesEmPasso()
{
    QFETCH(int, recarga);
    Prancheta& p = Iniciar(Muitas);
    p.VscGrade->setValue(7);
    switch (recarga) {
    case 0:
        p.cmbGrupo->setCurrentIndex(1);
        emit p.cmbGrupo->activated(1);
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
    default:
        QTest::mouseDClick(p.Linha[0], Qt::LeftButton);
        QTRY_VERIFY(p.FrmFazela->isVisible());
        QTest::mouseClick(recarga == 3 ? p.CmdFazelaAlterar : p.CmdFazelaExcluir, Qt::LeftButton);
    }
    QTRY_VERIFY(p.PicPrancheta->isEnabled());
    QVERIFY(EmPasso());
    // The mark clicked on row 1 ticks the task whose name that row shows.
    const QString nome = p.Linha[1]->text().mid(2);
    QTest::mouseClick(p.ImgLinha[1], Qt::LeftButton);
    QCOMPARE(m_banco->Linhas("Select Fazela from Fazelas Where Executado = 'S'"), (QList<QVariantList>{{nome}}));
}

void TstGrade::outroProgramaEntreAsLeituras_data()
{
    QTest::addColumn<int>("inicio");
    QTest::addColumn<int>("passo"); // each write of the other program: +1 adds a task first in the
                                    // grid's order, -1 deletes the first one
    QTest::newRow("apagando") << 20 << -1;
    QTest::newRow("incluindo") << 20 << 1;
}

// The board shows one state of the file, whole: the rows and the scroll bar's range from one read,
// whatever another program writes between the board's reads.
void TstGrade::outroProgramaEntreAsLeituras()
{
    QFETCH(int, inicio);
    QFETCH(int, passo);
    m_banco->Executar(QStringLiteral("Insert into Grupo_Fazela values (1,'g'); Update Config set Ultimo_Grupo = 1;"
                                     "With recursive n(i) as (Select 0 Union All Select i + 1 from n where i + 1 < %1)"
                                     " Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade)"
                                     " Select 1, printf('t%03d', i), printf('m%03d', i), 3 from n where %1 > 0")
                          .arg(inicio));
    const char* ordem = "Select group_concat(Fazela, ' ') from (Select Fazela from Fazelas Order By Prioridade desc, Descricao)";
    const auto escrita = [passo](int vez) -> QString {
        if (vez >= 40)
            return {};
        return passo > 0 ? QStringLiteral("Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) values (1,'n%1','a%2',3)")
                               .arg(vez, 3, 10, QChar('0')).arg(999 - vez)
                         : QStringLiteral("Delete from Fazelas where Codigo = (Select Codigo from Fazelas Order By Prioridade desc, Descricao limit 1)");
    };
    auto* rolagem = static_cast<QScrollBar*>(nullptr);
    const auto linha = [&](int i) { return m_p->findChild<QLabel*>(QStringLiteral("Linha(%1)").arg(i))->text(); };
    const auto naTela = [&] {
        QStringList nomes;
        for (int i = 0; i < QtdLinhas && linha(i).startsWith("  "); ++i)
            nomes << linha(i).mid(2);
        return nomes;
    };
    // Every task the scroll bar reaches, in order; or the first rows only and the range's size.
    const auto alcancadas = [&](bool todas) {
        QStringList nomes = naTela();
        for (int v = 1; v <= rolagem->maximum(); ++v) {
            rolagem->setValue(v);
            nomes << (todas ? linha(QtdLinhas - 1).mid(2) : QStringLiteral("?"));
        }
        rolagem->setValue(0);
        return nomes;
    };
    // The rows on the screen first (the rest follows), the range and the rows from one state.
    QStringList estados;
    {
        OutroEscritor outro(m_banco->Arquivo(), escrita, ordem);
        m_p = std::make_unique<Prancheta>(nullptr, Prancheta::Montagem::EmDuasEtapas);
        m_p->Form_Load();
        m_p->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_p.get()));
        estados = outro.estados();
    }
    rolagem = m_p->findChild<QScrollBar*>("VscGrade");
    QCOMPARE(rolagem->minimum(), 0);
    QCOMPARE(rolagem->value(), 0);
    const QStringList primeiras = alcancadas(false);
    const auto deUmEstado = [&](const QStringList& vistas, const QStringList& estados) {
        for (const QString& estado : estados) {
            const QStringList tarefas = estado.isEmpty() ? QStringList() : estado.split(' ');
            bool igual = tarefas.size() == vistas.size();
            for (qsizetype i = 0; igual && i < tarefas.size(); ++i)
                igual = vistas[i] == "?" || vistas[i] == tarefas[i];
            if (igual)
                return true;
        }
        return false;
    };
    QVERIFY2(deUmEstado(primeiras, estados), qPrintable(primeiras.join(' ') + "\nnone of:\n" + estados.join('\n')));

    // Then the rest, read whole while the other program goes on writing.
    {
        OutroEscritor outro(m_banco->Arquivo(), escrita, ordem);
        m_p->ConcluirMontagem();
        estados += outro.estados();
    }
    QCOMPARE(rolagem->minimum(), 0);
    const QStringList todas = alcancadas(true);
    QVERIFY2(deUmEstado(todas, estados), qPrintable(todas.join(' ') + "\nnone of:\n" + estados.join('\n')));
    // A row acts on the task it shows.
    if (passo > 0) {
        rolagem->setValue(rolagem->maximum());
        QTest::mouseClick(m_p->findChild<QWidget*>("ImgLinha(0)"), Qt::LeftButton);
        QCOMPARE(m_banco->Linhas("Select Fazela from Fazelas where Executado = 'S'"), QList<QVariantList>{{linha(0).mid(2)}});
    }
}

// Codes as the file holds them: past 2^31 and 2^32, a task's code is that task's alone.
void TstGrade::codigosDe64Bits()
{
    Iniciar("Insert into Grupo_Fazela values (6,'pequeno'), (4294967297,'grande');"
            "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade) values"
            " (6,6,'seis','a',3), (2147483654,6,'outra','b',3),"
            " (4294967302,4294967297,'alvo','c',3), (4294967303,4294967297,'vizinha','d',3);"
            "Update Config set Ultimo_Grupo = 4294967297");
    QCOMPARE(m_p->findChild<QComboBox*>("cmbGrupo")->currentText(), QStringLiteral(" 4294967297 - grande"));
    QTest::mouseClick(m_p->findChild<QWidget*>("ImgLinha(0)"), Qt::LeftButton);
    QCOMPARE(m_banco->Linhas("Select Codigo from Fazelas where Executado is not null"), QList<QVariantList>{{4294967302LL}});
    QTest::mouseDClick(m_p->findChild<QWidget*>("Linha(0)"), Qt::LeftButton);
    auto* painel = m_p->findChild<QWidget*>("FrmFazela");
    QTRY_VERIFY(painel->isVisible());
    m_p->findChild<QLineEdit*>("txtFazelaNome")->setText("alvo mudado");
    QTest::mouseClick(m_p->findChild<QWidget*>("CmdFazelaAlterar"), Qt::LeftButton);
    QTest::mouseDClick(m_p->findChild<QWidget*>("Linha(1)"), Qt::LeftButton);
    QTRY_VERIFY(painel->isVisible());
    QTest::mouseClick(m_p->findChild<QWidget*>("CmdFazelaExcluir"), Qt::LeftButton);
    QCOMPARE(m_banco->Linhas("Select Codigo, Fazela from Fazelas Order By Codigo"),
             (QList<QVariantList>{{6, "seis"}, {2147483654LL, "outra"}, {4294967302LL, "alvo mudado"}}));
    // A new task goes to the group shown, not to a group whose code is the same in 32 bits.
    QTest::mouseClick(m_p->findChild<QWidget*>("CmdNewFazela"), Qt::LeftButton);
    QTRY_VERIFY(painel->isVisible());
    m_p->findChild<QLineEdit*>("txtFazelaNome")->setText("nova");
    QTest::mouseClick(m_p->findChild<QWidget*>("CmdFazelaIncluir"), Qt::LeftButton);
    QCOMPARE(m_banco->Valor("Select Cod_Grupo from Fazelas where Fazela = 'nova'").toLongLong(), 4294967297LL);
}

// The toolkit gives a double-click as a click and a double-click: the mark changes once.
void TstGrade::duploCliqueNaMarcaMudaUmaVez()
{
    Iniciar(Muitas);
    // Through the window, as the window system gives them: press, release, press, release.
    const auto ponto = [&](const char* nome) {
        auto* w = m_p->findChild<QWidget*>(nome);
        return w->mapTo(m_p.get(), w->rect().center());
    };
    QTest::mouseDClick(m_p->windowHandle(), Qt::LeftButton, {}, ponto("ImgLinha(2)"));
    QTest::mouseClick(m_p->windowHandle(), Qt::LeftButton, {}, ponto("ImgLinha(4)"));
    QCOMPARE(m_banco->Linhas("Select Codigo, Executado from Gravacoes"), (QList<QVariantList>{{40002, "S"}, {40004, "S"}}));
}

QTEST_MAIN(TstGrade)
#include "tst_grade.moc"

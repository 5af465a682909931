// The grid against real files: order, colours and marks, the buffer behind the scroll bar, and the
// row under the pointer being always the task a click or a double-click acts on, whatever another
// program writes meanwhile.
#include "apoio/Apoio.h"
#include "apoio/ArquivoObservado.h"
#include "assets/Imagens.h"
#include "grid/Grade.h"
#include "shell/Acessibilidade.h"
#include "shell/Controles.h"

#include <QAccessible>
#include <QScrollBar>
#include <QSignalSpy>
#include <filesystem>
#include <functional>
#include <sqlite3.h>

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
        QVERIFY(
            sqlite3_open_v2(QFile::encodeName(arquivo).constData(), &m_db, SQLITE_OPEN_READWRITE, "unix") == SQLITE_OK);
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
        m_estados << (sqlite3_step(st) == SQLITE_ROW
                ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)))
                : QString());
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
    QString sql
        = "Insert into Grupo_Fazela values (1,'Muitas'), (2,'Poucas');"
          "Create Table Gravacoes (Codigo, Executado);"
          "Create Trigger Registrar After Update Of Executado On Fazelas Begin "
          "Insert into Gravacoes values (new.Codigo, new.Executado); End;"
          "Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) values (2,'a','1',1),(2,'b','2',1),(2,'c','3',1);"
          "Update Config set Ultimo_Grupo = 1;";
    for (int i = 0; i < 30; ++i)
        sql += QStringLiteral(
            "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade) values (%1,1,'t%2','d%2',%3);")
                   .arg(40000 + i)
                   .arg(i, 2, 10, QChar('0'))
                   .arg(5 - i / 10);
    return sql;
}();

// The grid on its own, on a board picture of its own.
struct GradeSozinha
{
    QWidget prancheta;
    Construtor construtor { 1 };
    Imagem feita { &prancheta };
    Grade grade;
    explicit GradeSozinha(const BancoDeDados& banco)
        : grade(&prancheta, construtor, banco, &feita)
    {
        prancheta.setFont(fonte("Arial", 8.25));
        feita.definirFigura(Imagens::figura(Imagens::Check));
        feita.hide();
        prancheta.resize(460, 560);
        prancheta.show();
    }
    Rotulo* linha(int i) { return construtor.controle<Rotulo>(QStringLiteral("Linha(%1)").arg(i)); }
    Imagem* marca(int i) { return construtor.controle<Imagem>(QStringLiteral("ImgLinha(%1)").arg(i)); }
    QScrollBar* rolagem() { return construtor.controle<QScrollBar>(QStringLiteral("VscGrade")); }
    // Every painted row shows the task the scroll position puts under it.
    bool emPasso()
    {
        for (int i = 0; i < Grade::Linhas; ++i) {
            const std::optional<Fazela> f = grade.fazelaDaLinha(i);
            if (linha(i)->text().startsWith("  ") != f.has_value() || (f && linha(i)->text() != "  " + f->nome))
                return false;
        }
        return true;
    }
};

} // namespace

class TstGrade : public ComPrancheta
{
    Q_OBJECT
private slots:
    void limiteDasLinhas_data();
    void limiteDasLinhas();
    void rolagemEAcoesNaLinhaCerta();
    void umCliqueMudaUmaVez();
    void recargaMantemLinhasEAcoesEmPasso_data();
    void recargaMantemLinhasEAcoesEmPasso();
    void outroProgramaEntreAsLeituras_data();
    void outroProgramaEntreAsLeituras();
    void codigosDe64Bits();
    void tecladoELeitorDeTela();
};

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
    m_banco->executar(tarefas(n));
    GradeSozinha g(m_banco->banco());
    g.grade.carregar(1);
    QCOMPARE(g.grade.quantidade(), n);
    for (int i = 0; i < Grade::Linhas; ++i) {
        QCOMPARE(g.linha(i)->text(), i < n ? QStringLiteral("  t%1").arg(i) : QString());
        QCOMPARE(g.linha(i)->temBorda(), i < n);
    }
    QCOMPARE(g.rolagem()->isVisible(), n > Grade::Linhas);
    QCOMPARE(g.rolagem()->maximum(), std::max(0, n - Grade::Linhas));
    g.rolagem()->setValue(g.rolagem()->maximum());
    QCOMPARE(g.linha(std::min(n, int(Grade::Linhas)) - 1)->text(), QStringLiteral("  t%1").arg(n - 1));
}

void TstGrade::rolagemEAcoesNaLinhaCerta()
{
    m_banco->executar(Muitas);
    GradeSozinha g(m_banco->banco());
    g.grade.carregar(1);
    QCOMPARE(g.rolagem()->maximum(), 7);
    QSignalSpy roladas(&g.grade, &Grade::rolada);
    g.rolagem()->setFocus();
    QTest::keyClick(g.rolagem(), Qt::Key_Down);
    QCOMPARE(g.linha(0)->text(), QStringLiteral("  t01"));
    QCOMPARE(g.linha(22)->text(), QStringLiteral("  t23"));
    QCOMPARE(g.linha(22)->toolTip(), QStringLiteral("d23"));
    QCOMPARE(roladas.size(), 1); // the board takes the focus away, so arrow keys stop scrolling
    g.rolagem()->setValue(7);
    QCOMPARE(g.linha(12)->corFundo(), QColor(255, 255, 128)); // the colours follow the tasks
    QCOMPARE(g.linha(13)->corFundo(), QColor(128, 255, 128));
    // Rows follow the thumb while it is dragged.
    g.rolagem()->setSliderDown(true);
    g.rolagem()->setSliderPosition(4);
    QCOMPARE(g.linha(0)->text(), QStringLiteral("  t04"));
    g.rolagem()->setSliderDown(false);
    QCOMPARE(g.rolagem()->value(), 4);
    QVERIFY(g.emPasso());

    // A tick on a scrolled grid, and its undoing, write the task of that row only; scrolled away
    // and back, the mark is still there.
    QTest::mouseClick(g.marca(3), Qt::LeftButton);
    QTest::mouseClick(g.marca(5), Qt::LeftButton);
    QTest::mouseClick(g.marca(5), Qt::LeftButton);
    QCOMPARE(m_banco->linhas("Select Codigo, Executado from Gravacoes"),
        (QList<QVariantList> { { 40007, "S" }, { 40009, "S" }, { 40009, QVariant() } }));
    g.rolagem()->setValue(0);
    QVERIFY(g.marca(7)->temFigura() && !g.marca(9)->temFigura() && !g.marca(3)->temFigura());

    // A double-click opens the task of its row, as the buffer holds it.
    g.rolagem()->setValue(6);
    QSignalSpy abertas(&g.grade, &Grade::fazelaAberta);
    QTest::mouseDClick(g.linha(20), Qt::LeftButton);
    QCOMPARE(abertas.size(), 1);
    const auto f = abertas.first().first().value<Fazela>();
    QCOMPARE(f.codigo, 40026);
    QCOMPARE(f.nome, QStringLiteral("t26"));
    QCOMPARE(f.descricao, QStringLiteral("d26"));
    QCOMPARE(f.prioridade, 3);
    // A right button's double-click is no double-click.
    QTest::mouseDClick(g.linha(2), Qt::RightButton);
    QCOMPARE(abertas.size(), 1);
}

// The toolkit gives a double-click as a click and a double-click: the mark changes once.
void TstGrade::umCliqueMudaUmaVez()
{
    m_banco->executar(Muitas);
    GradeSozinha g(m_banco->banco());
    g.grade.carregar(1);
    duploClique(g.marca(2));
    QTest::mouseClick(g.prancheta.windowHandle(), Qt::LeftButton, {}, g.marca(4)->mapTo(&g.prancheta, QPoint(8, 8)));
    QCOMPARE(m_banco->linhas("Select Codigo, Executado from Gravacoes"),
        (QList<QVariantList> { { 40002, "S" }, { 40004, "S" } }));
    QVERIFY(g.marca(2)->temFigura());
    // A tick the file refuses is reported, not shown as written.
    m_banco->executar("Create Trigger Recusar Before Update On Fazelas Begin Select Raise(Abort, 'recusada'); End");
    QSignalSpy falhas(&g.grade, &Grade::falhaNoBanco);
    QTest::mouseClick(g.marca(6), Qt::LeftButton);
    QCOMPARE(falhas.size(), 1);
}

void TstGrade::recargaMantemLinhasEAcoesEmPasso_data()
{
    QTest::addColumn<QString>("recarga");
    QTest::newRow("outro grupo") << "cmbGrupo";
    QTest::newRow("grupo excluido") << "CmdDelGrupo";
    QTest::newRow("fazela incluida") << "CmdFazelaIncluir";
    QTest::newRow("fazela alterada") << "CmdFazelaAlterar";
    QTest::newRow("fazela excluida") << "CmdFazelaExcluir";
}

// Whatever the board reloads the grid for, on a scrolled grid, the rows and their actions stay in step.
void TstGrade::recargaMantemLinhasEAcoesEmPasso()
{
    QFETCH(QString, recarga);
    iniciar(Muitas + "Update Config set Ultimo_Grupo = 1");
    controle<QScrollBar>("VscGrade")->setValue(7);
    if (recarga == "cmbGrupo") {
        auto* lista = controle<QComboBox>("cmbGrupo");
        lista->setCurrentIndex(1);
        emit lista->activated(1);
    } else if (recarga == "CmdDelGrupo") {
        responderQuandoEsperar(&p(), "CmdMensagemConfirmar");
        clicar("CmdDelGrupo");
    } else {
        if (recarga == "CmdFazelaIncluir")
            clicar("CmdNewFazela");
        else
            QTest::mouseDClick(controle("Linha(0)"), Qt::LeftButton);
        controle<QLineEdit>("txtFazelaNome")->setText("nova");
        clicar(recarga);
    }
    QTRY_VERIFY(controle("PicPrancheta")->isEnabled());
    QCOMPARE(controle<QScrollBar>("VscGrade")->value(), 0);
    // The mark clicked on row 1 ticks the task whose name that row shows.
    const QString nome = controle<QLabel>("Linha(1)")->text().mid(2);
    clicar("ImgLinha(1)");
    QCOMPARE(m_banco->linhas("Select Fazela from Fazelas Where Executado = 'S'"), (QList<QVariantList> { { nome } }));
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
    m_banco->executar(QStringLiteral("Insert into Grupo_Fazela values (1,'g'); Update Config set Ultimo_Grupo = 1;"
                                     "With recursive n(i) as (Select 0 Union All Select i + 1 from n where i + 1 < %1)"
                                     " Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade)"
                                     " Select 1, printf('t%03d', i), printf('m%03d', i), 3 from n where %1 > 0")
                          .arg(inicio));
    const char* ordem
        = "Select group_concat(Fazela, ' ') from (Select Fazela from Fazelas Order By Prioridade desc, Descricao)";
    const auto escrita = [passo](int vez) -> QString {
        if (vez >= 40)
            return {};
        return passo > 0
            ? QStringLiteral("Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) values (1,'n%1','a%2',3)")
                  .arg(vez, 3, 10, QChar('0'))
                  .arg(999 - vez)
            : QStringLiteral("Delete from Fazelas where Codigo = (Select Codigo from Fazelas Order By Prioridade desc, "
                             "Descricao limit 1)");
    };
    auto* rolagem = static_cast<QScrollBar*>(nullptr);
    const auto linha = [&](int i) { return m_p->findChild<QLabel*>(QStringLiteral("Linha(%1)").arg(i))->text(); };
    const auto naTela = [&] {
        QStringList nomes;
        for (int i = 0; i < Grade::Linhas && linha(i).startsWith("  "); ++i)
            nomes << linha(i).mid(2);
        return nomes;
    };
    // Every task the scroll bar reaches, in order; or the first rows only and the range's size.
    const auto alcancadas = [&](bool todas) {
        QStringList nomes = naTela();
        for (int v = 1; v <= rolagem->maximum(); ++v) {
            rolagem->setValue(v);
            nomes << (todas ? linha(Grade::Linhas - 1).mid(2) : QStringLiteral("?"));
        }
        rolagem->setValue(0);
        return nomes;
    };
    // The rows on the screen first (the rest follows), the range and the rows from one state.
    QStringList estados;
    {
        OutroEscritor outro(m_banco->arquivo(), escrita, ordem);
        iniciar(QString(), Prancheta::Montagem::EmDuasEtapas);
        estados = outro.estados();
    }
    rolagem = m_p->findChild<QScrollBar*>("VscGrade");
    QCOMPARE(rolagem->minimum(), 0);
    QCOMPARE(rolagem->value(), 0);
    const QStringList primeiras = alcancadas(false);
    const auto deUmEstado = [&](const QStringList& vistas, const QStringList& candidatos) {
        for (const QString& estado : candidatos) {
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
        OutroEscritor outro(m_banco->arquivo(), escrita, ordem);
        m_p->concluirMontagem();
        estados += outro.estados();
    }
    QCOMPARE(rolagem->minimum(), 0);
    const QStringList todas = alcancadas(true);
    QVERIFY2(deUmEstado(todas, estados), qPrintable(todas.join(' ') + "\nnone of:\n" + estados.join('\n')));
    // A row acts on the task it shows.
    if (passo > 0) {
        rolagem->setValue(rolagem->maximum());
        QTest::mouseClick(m_p->findChild<QWidget*>("ImgLinha(0)"), Qt::LeftButton);
        QCOMPARE(m_banco->linhas("Select Fazela from Fazelas where Executado = 'S'"),
            QList<QVariantList> { { linha(0).mid(2) } });
    }
}

// Codes as the file holds them: past 2^31 and 2^32, a task's code is that task's alone.
void TstGrade::codigosDe64Bits()
{
    iniciar("Insert into Grupo_Fazela values (6,'pequeno'), (4294967297,'grande');"
            "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade) values"
            " (6,6,'seis','a',3), (2147483654,6,'outra','b',3),"
            " (4294967302,4294967297,'alvo','c',3), (4294967303,4294967297,'vizinha','d',3);"
            "Update Config set Ultimo_Grupo = 4294967297");
    QCOMPARE(m_p->findChild<QComboBox*>("cmbGrupo")->currentText(), QStringLiteral(" 4294967297 - grande"));
    QTest::mouseClick(m_p->findChild<QWidget*>("ImgLinha(0)"), Qt::LeftButton);
    QCOMPARE(m_banco->linhas("Select Codigo from Fazelas where Executado is not null"),
        QList<QVariantList> { { 4294967302LL } });
    QTest::mouseDClick(m_p->findChild<QWidget*>("Linha(0)"), Qt::LeftButton);
    auto* painel = m_p->findChild<QWidget*>("FrmFazela");
    QTRY_VERIFY(painel->isVisible());
    m_p->findChild<QLineEdit*>("txtFazelaNome")->setText("alvo mudado");
    QTest::mouseClick(m_p->findChild<QWidget*>("CmdFazelaAlterar"), Qt::LeftButton);
    QTest::mouseDClick(m_p->findChild<QWidget*>("Linha(1)"), Qt::LeftButton);
    QTRY_VERIFY(painel->isVisible());
    QTest::mouseClick(m_p->findChild<QWidget*>("CmdFazelaExcluir"), Qt::LeftButton);
    QCOMPARE(m_banco->linhas("Select Codigo, Fazela from Fazelas Order By Codigo"),
        (QList<QVariantList> { { 6, "seis" }, { 2147483654LL, "outra" }, { 4294967302LL, "alvo mudado" } }));
    // A new task goes to the group shown, not to a group whose code is the same in 32 bits.
    QTest::mouseClick(m_p->findChild<QWidget*>("CmdNewFazela"), Qt::LeftButton);
    QTRY_VERIFY(painel->isVisible());
    m_p->findChild<QLineEdit*>("txtFazelaNome")->setText("nova");
    QTest::mouseClick(m_p->findChild<QWidget*>("CmdFazelaIncluir"), Qt::LeftButton);
    QCOMPARE(m_banco->valor("Select Cod_Grupo from Fazelas where Fazela = 'nova'").toLongLong(), 4294967297LL);
}

// The rows are one stop of the keyboard; Up and Down walk them and scroll at the edges, keeping the
// focus; Space ticks, Enter opens. A screen reader reads each row's task and mark as shown (that it
// is told of changes, the end-to-end case caso_leitor_de_tela checks).
void TstGrade::tecladoELeitorDeTela()
{
    Acessibilidade::instalar();
    m_banco->executar(Muitas);
    GradeSozinha g(m_banco->banco());
    g.grade.carregar(1);
    g.prancheta.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&g.prancheta));
    QCOMPARE(g.linha(0)->focusPolicy(), Qt::TabFocus);
    QCOMPARE(g.linha(1)->focusPolicy(), Qt::NoFocus);
    g.linha(0)->clearFocus(); // the window gave it to its only stop
    QTest::mouseClick(g.linha(0), Qt::LeftButton);
    QVERIFY(!g.linha(0)->hasFocus()); // a click draws no focus frame
    const QImage semFoco = g.linha(0)->grab().toImage();
    g.linha(0)->setFocus();
    QVERIFY(g.linha(0)->grab().toImage() != semFoco);
    QSignalSpy roladas(&g.grade, &Grade::rolada), abertas(&g.grade, &Grade::fazelaAberta);
    for (int i = 0; i < Grade::Linhas; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(g.linha(22)->hasFocus() && g.linha(22)->focusPolicy() == Qt::TabFocus);
    QCOMPARE(g.rolagem()->value(), 1);
    QCOMPARE(g.linha(22)->text(), QStringLiteral("  t23"));
    QVERIFY(roladas.isEmpty() && g.emPasso());
    QAccessibleInterface* linha = QAccessible::queryAccessibleInterface(g.linha(22));
    QAccessibleInterface* marca = QAccessible::queryAccessibleInterface(g.marca(22));
    QCOMPARE(linha->role(), QAccessible::ListItem);
    QCOMPARE(linha->text(QAccessible::Name), QStringLiteral("t23"));
    QCOMPARE(linha->text(QAccessible::Description), QStringLiteral("Prioridade Média. d23"));
    QCOMPARE(marca->role(), QAccessible::CheckBox);
    QCOMPARE(marca->text(QAccessible::Name), QStringLiteral("t23"));
    QTest::keyClick(g.linha(22), Qt::Key_Space);
    QVERIFY(marca->state().checked && linha->state().checked);
    QCOMPARE(linha->text(QAccessible::Description), QStringLiteral("Prioridade Média, feita. d23"));
    QTest::keyClick(g.linha(22), Qt::Key_Return);
    QCOMPARE(abertas.size(), 1);
    QCOMPARE(abertas[0][0].value<Fazela>().codigo, 40023);
    marca->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(m_banco->linhas("Select Codigo, Executado from Gravacoes"),
        (QList<QVariantList> { { 40023, "S" }, { 40023, QVariant() } }));
    for (int i = 0; i < Grade::Linhas; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QVERIFY(g.linha(0)->hasFocus() && g.rolagem()->value() == 0 && roladas.isEmpty());
}

QTEST_MAIN(TstGrade)
#include "tst_grade.moc"

// Start-up against real database files, and the board as it stands once started.
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "grid/Grade.h"
#include "shell/Bandeja.h"
#include "shell/Controles.h"
#include "shell/Falhas.h"
#include "shell/Prancheta.h"

#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

using namespace Modulo;

class TstInicio : public QObject
{
    Q_OBJECT
private slots:
    // First: once a test has ended the program (QCoreApplication::exit), later modal waits return at once.
    void textosDoToolkitEmPortugues();
    void grupoLembrado_data();
    void grupoLembrado();
    void falhaNoInicioNaoMudaOArquivo();
    void paineisFicamUsaveisComAPranchetaDesabilitada();
    void estadoInicialDosControles();
    void sairEsconde();
};

void TstInicio::grupoLembrado_data()
{
    QTest::addColumn<QString>("preparo");
    QTest::addColumn<int>("esperado");
    QTest::addColumn<int>("atual");
    QTest::addColumn<QString>("linha0");
    QTest::addColumn<QString>("linha10");
    QTest::addColumn<bool>("duasEtapas");
    const QString grupos = "Insert into Grupo_Fazela values (5,'Casa');"
                           "Insert into Fazelas(Cod_Grupo,Fazela,Prioridade) values (5,'Varrer',3);";
    QTest::newRow("sem linha") << grupos + "Delete from Config" << 0 << 0 << "" << "" << false;
    QTest::newRow("nulo") << grupos << 0 << 0 << "" << "" << false;
    QTest::newRow("zero") << grupos + "Update Config set Ultimo_Grupo = 0" << 0 << 0 << "" << "" << false;
    QTest::newRow("existente") << grupos + "Update Config set Ultimo_Grupo = 5" << 5 << 5 << "  Varrer" << "" << false;
    // A remembered group that is gone: the group the list shows becomes current, so a task added
    // next lands in a group that exists.
    QTest::newRow("apagado") << grupos + "Update Config set Ultimo_Grupo = 9" << 9 << 5 << "  Varrer" << "" << false;
    QTest::newRow("apagado, sem grupos") << "Update Config set Ultimo_Grupo = 9" << 9 << 0 << "" << "" << false;
    // The program's own board shows the rows on the screen first and loads the rest after.
    QTest::newRow("em duas etapas") << grupos + "Update Config set Ultimo_Grupo = 5;"
        "With recursive n(i) as (Select 0 Union All Select i + 1 from n where i < 29) Insert into"
        " Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) Select 5, printf('t%02d', i), printf('%02d', i), 3 from n"
        << 5 << 5 << "  Varrer" << "  t09" << true;
}

void TstInicio::grupoLembrado()
{
    QFETCH(QString, preparo);
    QFETCH(int, esperado);
    QFETCH(int, atual);
    QFETCH(QString, linha0);
    QFETCH(QString, linha10);
    BancoDeTeste banco;
    banco.Executar(preparo);
    const auto configAntes = banco.Linhas("Select * from Config");
    QFETCH(bool, duasEtapas);
    Prancheta p(nullptr, duasEtapas ? Prancheta::Montagem::EmDuasEtapas : Prancheta::Montagem::Completa);
    QVERIFY(p.Form_Load());
    if (duasEtapas) {
        QCOMPARE(p.VscGrade->maximum(), 31 - QtdLinhas);
        p.ConcluirMontagem();
        QCOMPARE(int(GradeItens.size()), 31);
        QCOMPARE(p.VscGrade->maximum(), 31 - QtdLinhas);
    }
    QCOMPARE(UltimoGrupo, esperado);
    QCOMPARE(GrupoAtual, atual);
    QCOMPARE(p.Linha[0]->text(), linha0);
    QCOMPARE(p.Linha[10]->text(), linha10);
    QVERIFY(!Conexao);
    // Start-up reads the settings row; it never writes it.
    QCOMPARE(banco.Linhas("Select * from Config"), configAntes);
}

void TstInicio::falhaNoInicioNaoMudaOArquivo()
{
    BancoDeTeste banco;
    banco.Executar("Drop Table Config");
    QFile arquivo(banco.Arquivo());
    QVERIFY(arquivo.open(QIODevice::ReadOnly));
    const QByteArray antes = arquivo.readAll();
    arquivo.close();
    Prancheta p;
    QVERIFY_THROWS_EXCEPTION(FalhaBanco, p.Form_Load());
    QVERIFY(!DadosBandeja); // the icon comes after the database read
    QVERIFY(arquivo.open(QIODevice::ReadOnly));
    QCOMPARE(arquivo.readAll(), antes);
}

void TstInicio::paineisFicamUsaveisComAPranchetaDesabilitada()
{
    BancoDeTeste banco;
    Prancheta p;
    for (QWidget* painel : {static_cast<QWidget*>(p.FrmGrupo), static_cast<QWidget*>(p.FrmFazela),
                            static_cast<QWidget*>(p.FrmMensagem)})
        QCOMPARE(painel->parentWidget(), &p);
    p.PicPrancheta->setEnabled(false);
    QVERIFY(!p.cmbGrupo->isEnabled());
    QVERIFY(!p.Linha[3]->isEnabled());
    QVERIFY(p.txtFazelaNome->isEnabled());
    QVERIFY(p.CmdMensagemConfirmar->isEnabled());
    QVERIFY(p.txtGrupoGrupo->isEnabled());
    // The message panel lies over the task panel, which lies over the group panel.
    const QObjectList filhos = p.children();
    QVERIFY(filhos.indexOf(p.FrmMensagem) > filhos.indexOf(p.FrmFazela));
    QVERIFY(filhos.indexOf(p.FrmFazela) > filhos.indexOf(p.FrmGrupo));
    QVERIFY(filhos.indexOf(p.FrmGrupo) > filhos.indexOf(p.PicPrancheta));
}

void TstInicio::estadoInicialDosControles()
{
    BancoDeTeste banco;
    Prancheta p;
    QVERIFY(p.Form_Load());
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    // The window ends where the board picture ends, and its outline is the picture's.
    QCOMPARE(p.size(), QSize(454, 595));
    QCOMPARE(p.PicPrancheta->geometry(), QRect(2, 0, 452, 595));
    QVERIFY(!p.mask().isEmpty());
    QVERIFY(!p.mask().contains(QPoint(0, 0)));
    QVERIFY(p.mask().contains(QPoint(227, 300)));
    for (QWidget* oculto : {static_cast<QWidget*>(p.FrmGrupo), static_cast<QWidget*>(p.FrmFazela),
                            static_cast<QWidget*>(p.FrmMensagem), static_cast<QWidget*>(p.Picture1),
                            static_cast<QWidget*>(p.ImagemCheck), static_cast<QWidget*>(p.txtFazelaCodigo),
                            static_cast<QWidget*>(p.VscGrade)})
        QVERIFY2(!oculto->isVisible(), qPrintable(oculto->objectName()));
    QVERIFY(p.PicFocus->hasFocus());
    // The keyboard order: the board's own controls, then each panel's in its order.
    QStringList ordem;
    QWidget* w = p.PicFocus;
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            ordem << w->objectName();
        w = w->nextInFocusChain();
    } while (w != p.PicFocus);
    QCOMPARE(ordem.join(' '),
             "PicFocus PicPrancheta cmbGrupo VscGrade txtGrupoGrupo CmdGrupoIncluir CmdGrupoCancel "
             "CmdMensagemConfirmar CmdMensagemOkay CmdMensagemCancelar CmbFazelaPrior txtFazelaNome "
             "txtFazelaDescricao CmdFazelaIncluir CmdFazelaAlterar CmdFazelaExcluir");
    QCOMPARE(p.findChildren<Rotulo*>(QRegularExpression("^Linha\\(\\d+\\)$")).size(), QtdLinhas);
    QCOMPARE(p.cmbGrupo->currentText(), QString::fromLatin1(SemGrupos));
    QVERIFY(!p.cmbGrupo->isEnabled());
    QCOMPARE(p.CmdSair->toolTip(), QStringLiteral("Fechar"));
    QCOMPARE(p.CmdSair->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(p.ImgLinha[0]->cursor().shape(), Qt::ArrowCursor);
}

void TstInicio::sairEsconde()
{
    BancoDeTeste banco;
    Prancheta p;
    QVERIFY(p.Form_Load());
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QTest::mouseClick(p.CmdSair, Qt::LeftButton);
    // No notification area here: the task bar keeps the board, minimized.
    QTRY_VERIFY(p.isMinimized());
    QVERIFY(DadosBandeja); // the icon stays: it is the way back
    p.Encerrar_Click();
    QVERIFY(!DadosBandeja);
}

void TstInicio::textosDoToolkitEmPortugues()
{
    // Whatever the session's language: the catalogue is the program's own, not the system's.
    QLocale::setDefault(QLocale::c());
    FalarPortugues();
    QLineEdit caixa;
    const std::unique_ptr<QMenu> menu(caixa.createStandardContextMenu());
    QStringList textos;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            textos << a->text().section(QLatin1Char('\t'), 0, 0);
    QCOMPARE(textos, QStringList({"&Desfazer", "&Refazer", "Recor&tar", "&Copiar", "C&olar", "Excluir",
                                  "Selecionar tudo"}));
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
    ReportarFalha("Falha ao abrir o banco");
    QCOMPARE(botao, "&Okay");
}

QTEST_MAIN(TstInicio)
#include "tst_inicio.moc"

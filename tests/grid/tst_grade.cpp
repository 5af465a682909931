// The grid loaded from real database files: order, colours, marks, the buffer and the scroll bar.
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "grid/Grade.h"
#include "shell/Prancheta.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Modulo;

namespace {

// N tasks of group 1 named t0..t(N-1), in that order on the grid.
QString Tarefas(int n, int grupo = 1)
{
    return QStringLiteral("Insert into Grupo_Fazela values (%1,'g');"
                          "With recursive n(i) as (Select 0 Union All Select i + 1 from n where i + 1 < %2)"
                          " Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) "
                          " Select %1, 't' || i, printf('%06d', i), 3 from n;")
        .arg(grupo)
        .arg(n);
}

// The colour of the board under the middle of a row's empty right part.
QColor CorDaLinha(Prancheta& p, int linha)
{
    const QRect r = p.Linha[linha]->geometry();
    const QImage img = p.PicPrancheta->grab(r).toImage();
    return img.pixelColor(r.width() - 70, r.height() / 2);
}

} // namespace

class TstGrade : public QObject
{
    Q_OBJECT
private slots:
    void linhasComCorMarcaEOrdem();
    void linhasQueOEditorNaoGrava();
    void limiteDasLinhas_data();
    void limiteDasLinhas();
    void grupoSemFazelas();
    void codigoZeroNaoLeOBanco();
    void codigosEQuantidadeAlemDe16Bits();
    void recargaVoltaARolagemAoInicio();
};

void TstGrade::linhasComCorMarcaEOrdem()
{
    BancoDeTeste banco;
    // Equal priorities go by description in Portuguese order, whatever the names; any text in
    // Executado is done; a Null description is an empty one.
    banco.Executar("Insert into Grupo_Fazela values (1,'Casa'), (2,'Outro');"
                   "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade,Executado) values"
                   " (1,1,'Zé','zebra',3,null), (2,1,'Ana','Água',3,'S'), (3,1,'Bia','abacaxi',3,'x'),"
                   " (4,1,'Caio','ônibus',3,''), (5,1,'Dora','Casa',3,null), (6,1,'Eva','banana',3,null),"
                   " (7,1,'Urgente',null,5,null), (8,1,'Nada','n',0,null), (9,1,'Branca','b',1,null),"
                   " (10,2,'Alheia','a',4,null);");
    Prancheta p;
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    p.LimparGrade();
    const QColor prancheta = CorDaLinha(p, 8);
    p.AlimentarGrade(1);

    const QStringList nomes = { "Urgente", "Bia", "Ana", "Eva", "Dora", "Caio", "Zé", "Branca", "Nada" };
    QCOMPARE(QtdItens, nomes.size());
    QCOMPARE(int(GradeItens.size()), nomes.size());
    for (int i = 0; i < nomes.size(); ++i) {
        QCOMPARE(p.Linha[i]->text(), "  " + nomes[i]);
        QCOMPARE(GradeItens[i].Fazela, nomes[i]);
        QVERIFY(p.Linha[i]->Borda());
        QVERIFY(p.ImgLinha[i]->Borda());
    }
    QCOMPARE(GradeItens[0].Codigo, 7);
    QCOMPARE(GradeItens[0].Descricao, QString());
    QCOMPARE(p.Linha[0]->toolTip(), QString());
    QCOMPARE(p.Linha[1]->toolTip(), QStringLiteral("abacaxi"));
    // Done: 'S' and 'x'; an empty text is not done.
    const QList<bool> feitos = { false, true, true, false, false, false, false, false, false };
    for (int i = 0; i < nomes.size(); ++i) {
        QCOMPARE(GradeItens[i].Executado, feitos[i]);
        QCOMPARE(p.ImgLinha[i]->TemPicture(), feitos[i]);
    }
    QCOMPARE(p.ImgLinha[1]->Picture().cacheKey(), p.ImagemCheck->Picture().cacheKey());
    QVERIFY(!p.Linha[9]->Borda() && p.Linha[9]->text().isEmpty());

    // Colours as painted: priority 1 is an opaque white row, priority 0 shows the board through.
    QCOMPARE(CorDaLinha(p, 0), QColor(255, 128, 128));
    QCOMPARE(CorDaLinha(p, 1), QColor(128, 255, 128));
    QCOMPARE(CorDaLinha(p, 7), QColor(255, 255, 255));
    QVERIFY(p.Linha[7]->Opaco());
    QVERIFY(!p.Linha[8]->Opaco());
    QCOMPARE(CorDaLinha(p, 8), prancheta);
    QVERIFY(prancheta != QColor(255, 255, 255));
    QVERIFY(!p.VscGrade->isVisible());
    QVERIFY(!Conexao);
    QVERIFY(!RegistrosGrade->Aberto());
}

void TstGrade::linhasQueOEditorNaoGrava()
{
    BancoDeTeste banco;
    // Written by other tools: a Null name, a Null priority, priorities out of the range.
    banco.Executar("Insert into Grupo_Fazela values (1,'g');"
                   "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade) values"
                   " (1,1,null,'a',4), (2,1,'SemPrioridade','b',null), (3,1,'Nove','c',9),"
                   " (4,1,'Grande','d',300), (5,1,'Negativa','e',-1);");
    Prancheta p;
    p.AlimentarGrade(1);
    QCOMPARE(QtdItens, 5);
    const QStringList nomes = { "Grande", "Nove", "", "Negativa", "SemPrioridade" };
    for (int i = 0; i < nomes.size(); ++i)
        QCOMPARE(p.Linha[i]->text(), "  " + nomes[i]);
    for (int i : { 0, 1, 3, 4 }) {
        QVERIFY(!p.Linha[i]->Opaco());
        QCOMPARE(GradeItens[i].Prioridade, uint8_t(0));
    }
    QVERIFY(p.Linha[2]->Opaco());
    QCOMPARE(GradeItens[2].Fazela, QString());

    // An unknown priority handed to the row painter itself stays transparent too.
    p.LimparGrade();
    p.IncluirNaGrade(1, "x", "", 7, "");
    QVERIFY(!p.Linha[0]->Opaco());
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
    BancoDeTeste banco;
    banco.Executar(Tarefas(n));
    Prancheta p;
    p.AlimentarGrade(1);
    QCOMPARE(QtdItens, n);
    QCOMPARE(int(GradeItens.size()), n);
    QCOMPARE(GradeItens.back().Fazela, QStringLiteral("t%1").arg(n - 1));
    for (int i = 0; i < QtdLinhas; ++i) {
        const bool pintada = i < n;
        QCOMPARE(p.Linha[i]->text(), pintada ? QStringLiteral("  t%1").arg(i) : QString());
        QCOMPARE(p.Linha[i]->Borda(), pintada);
        QCOMPARE(p.ImgLinha[i]->Borda(), pintada);
    }
    QCOMPARE(GradeCheia, n >= QtdLinhas);
    QCOMPARE(int(ProximaLinha), n >= QtdLinhas ? QtdLinhas - 1 : n);
    QCOMPARE(p.VscGrade->isVisibleTo(&p), n > QtdLinhas);
    if (n > QtdLinhas)
        QCOMPARE(p.VscGrade->maximum(), n - QtdLinhas);
}

void TstGrade::grupoSemFazelas()
{
    BancoDeTeste banco;
    banco.Executar(Tarefas(3, 2) + "Insert into Grupo_Fazela values (1,'vazio');");
    Prancheta p;
    for (int grupo : { 1, 99 }) { // an empty group, and a group that no longer exists
        p.AlimentarGrade(grupo);
        QCOMPARE(QtdItens, 0);
        Rotulo* l = p.Linha[LinhaDaMensagem];
        QCOMPARE(l->text(), QStringLiteral("Sem Fazelas Cadastradas !        "));
        QCOMPARE(l->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QVERIFY(l->font().bold() && l->font().italic());
        QVERIFY(!l->Borda() && !l->Opaco());
        for (int i = 0; i < QtdLinhas; ++i) {
            if (i != LinhaDaMensagem)
                QVERIFY(p.Linha[i]->text().isEmpty() && !p.Linha[i]->Borda());
        }
    }
    // The next group's rows are plain again, the message row included.
    p.AlimentarGrade(2);
    QCOMPARE(p.Linha[0]->text(), QStringLiteral("  t0"));
    Rotulo* l = p.Linha[LinhaDaMensagem];
    QVERIFY(l->text().isEmpty());
    QCOMPARE(l->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    QVERIFY(!l->font().bold() && !l->font().italic());
}

void TstGrade::codigoZeroNaoLeOBanco()
{
    BancoDeTeste banco;
    banco.Executar(Tarefas(2));
    Prancheta p;
    p.AlimentarGrade(1);
    // With no file to read, any database access would fail.
    PastaDoPrograma = banco.Pasta() + "/nao-existe";
    for (int codigo : { 0, -4 }) {
        p.AlimentarGrade(codigo);
        QCOMPARE(QtdItens, 0);
        QVERIFY(GradeItens.empty());
        for (int i = 0; i < QtdLinhas; ++i)
            QVERIFY(p.Linha[i]->text().isEmpty() && !p.Linha[i]->Borda() && !p.ImgLinha[i]->TemPicture());
    }
}

void TstGrade::codigosEQuantidadeAlemDe16Bits()
{
    BancoDeTeste banco;
    const int n = 33000;
    banco.Executar(Tarefas(n)
        + "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade) values"
          " (70000,1,'alta',' ',5), (40000,1,'media','b',4);");
    Prancheta p;
    p.AlimentarGrade(1);
    QCOMPARE(QtdItens, n + 2);
    QCOMPARE(p.VscGrade->maximum(), n + 2 - QtdLinhas);
    QCOMPARE(GradeItens[0].Codigo, 70000);
    QCOMPARE(GradeItens[1].Codigo, 40000);
    QCOMPARE(GradeItens.back().Fazela, QStringLiteral("t%1").arg(n - 1));
    QCOMPARE(GradeItens.back().Codigo, banco.Valor("Select max(Codigo) from Fazelas where Fazela like 't%'").toInt());
}

void TstGrade::recargaVoltaARolagemAoInicio()
{
    BancoDeTeste banco;
    banco.Executar(Tarefas(40) + Tarefas(24, 2));
    Prancheta p;
    p.AlimentarGrade(1);
    p.VscGrade->setValue(10);
    // Rows are painted from the first entry, so the position comes back with them, without a
    // scroll event in the middle of the load.
    QSignalSpy rolagens(p.VscGrade, &QScrollBar::valueChanged);
    p.AlimentarGrade(2);
    QCOMPARE(p.VscGrade->value(), 0);
    QCOMPARE(p.VscGrade->maximum(), 1);
    QCOMPARE(rolagens.count(), 0);
    QCOMPARE(p.Linha[0]->text(), QStringLiteral("  t0"));
}

QTEST_MAIN(TstGrade)
#include "tst_grade.moc"

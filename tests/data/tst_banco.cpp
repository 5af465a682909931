// The data layer against real files: the statements as sent, the connection slot, the result
// set, and the failures a user can meet.
#include "apoio/Apoio.h"
#include "data/Banco.h"
#include "data/Comandos.h"
#include "data/Modulo.h"

#include <QCryptographicHash>
#include <QFile>
#include <QtTest>
#include <sqlite3.h>

using namespace Modulo;

namespace {
QByteArray Resumo(const QString& arquivo)
{
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}
} // namespace

class TstBanco : public QObject
{
    Q_OBJECT
private slots:
    void comandos_data();
    void comandos();
    void textoComApostrofosVoltaComoDigitado();
    void conexaoNovaSubstituiAAnterior();
    void leituraAbertaSobreviveAEscritasAninhadas();
    void gradeEntregaOCodigoDaFazela();
    void campoNuloEPosicao();
    void falhasNomeiamOArquivoENadaCriam_data();
    void falhasNomeiamOArquivoENadaCriam();
    void arquivoEmUsoPorOutroPrograma();
    void comandoRecusadoDizOQue();
};

void TstBanco::comandos_data()
{
    QTest::addColumn<QString>("obtido");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("ler config") << Comandos::LerConfig() << "Select * from Config";
    QTest::newRow("gravar grupo") << Comandos::GravarUltimoGrupo(-7) << "Update Config set Ultimo_Grupo = -7";
    QTest::newRow("listar") << Comandos::ListarGrupos() << "Select * from Grupo_Fazela Order By Grupo";
    QTest::newRow("maior") << Comandos::MaiorCodigoGrupo() << "Select max(Codigo) from Grupo_Fazela";
    QTest::newRow("incluir grupo") << Comandos::IncluirGrupo(8, "D'Ávila") << "Insert Into Grupo_Fazela(Codigo,Grupo) values(8,'D''Ávila')";
    QTest::newRow("excluir fazelas") << Comandos::ExcluirFazelasDoGrupo(3) << "Delete from Fazelas Where Cod_Grupo = 3";
    QTest::newRow("excluir grupo") << Comandos::ExcluirGrupo(3) << "Delete from Grupo_Fazela Where Codigo = 3";
    QTest::newRow("grade") << Comandos::CarregarGrade(40000)
                           << "Select * from Grupo_Fazela Inner Join Fazelas ON Grupo_Fazela.Codigo = "
                              "Fazelas.Cod_Grupo Where Grupo_Fazela.Codigo = 40000 Order By Fazelas.Prioridade desc, "
                              "Fazelas.Descricao";
    QTest::newRow("marcar") << Comandos::MarcarExecutado(70000) << "Update Fazelas Set Executado = 'S' Where Codigo = 70000";
    QTest::newRow("desmarcar") << Comandos::DesmarcarExecutado(5) << "Update Fazelas Set Executado = Null Where Codigo = 5";
    QTest::newRow("incluir fazela") << Comandos::IncluirFazela(2, "'a'", "b''", 3)
                                    << "Insert Into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) Values(2,'''a''','b''''',3)";
    QTest::newRow("alterar fazela") << Comandos::AlterarFazela("x'", "", 0, "12")
                                    << "Update Fazelas set  Fazela = 'x''', Descricao = '', Prioridade = 0 Where  Codigo = 12";
    QTest::newRow("excluir fazela") << Comandos::ExcluirFazela("12") << "Delete from Fazelas  Where  Codigo = 12";
}

void TstBanco::comandos()
{
    QFETCH(QString, obtido);
    QFETCH(QString, esperado);
    QCOMPARE(obtido, esperado);
}

void TstBanco::textoComApostrofosVoltaComoDigitado()
{
    BancoDeTeste banco;
    const QString nome = QStringLiteral("'; Drop Table Fazelas; -- \\ \" % ção 🙂 ''");
    AbrirConexao();
    Conexao->Execute(Comandos::IncluirGrupo(1, nome));
    FecharConexao();
    QCOMPARE(banco.Valor("Select Grupo from Grupo_Fazela").toString(), nome);
    QCOMPARE(banco.Valor("Select count(*) from Fazelas").toInt(), 0);
}

void TstBanco::conexaoNovaSubstituiAAnterior()
{
    BancoDeTeste banco;
    AbrirConexao();
    const auto primeira = Conexao;
    AbrirConexao();
    QVERIFY(Conexao != primeira);
    QVERIFY(primeira->Aberta());
    FecharConexao();
    QVERIFY(!Conexao);
    FecharConexao(); // an empty slot is left alone
    QVERIFY(!Conexao);
}

void TstBanco::leituraAbertaSobreviveAEscritasAninhadas()
{
    BancoDeTeste banco;
    banco.Executar("Insert into Grupo_Fazela values (1,'a'); Insert into Grupo_Fazela values (2,'b')");
    AbrirConexao();
    Registros = std::make_shared<RegistrosBd>();
    Registros->Open(Comandos::ListarGrupos(), Conexao);
    QStringList lidos;
    while (!Registros->Eof()) {
        lidos << Registros->Campo(QLatin1StringView("Grupo")).toString();
        // What the group list's selection does while the list is read: writes of its own.
        AbrirConexao();
        Conexao->Execute(Comandos::GravarUltimoGrupo(Registros->Campo(QLatin1StringView("Codigo")).toInt()));
        Conexao->Execute(Comandos::IncluirGrupo(10 + lidos.size(), "novo"));
        FecharConexao();
        Registros->MoveNext();
    }
    Registros->Close();
    FecharConexao();
    QCOMPARE(lidos, QStringList({"a", "b"})); // a snapshot: the rows added meanwhile are not read
    QCOMPARE(banco.Valor("Select Ultimo_Grupo from Config").toInt(), 2);
    QCOMPARE(banco.Valor("Select count(*) from Grupo_Fazela").toInt(), 4);
}

void TstBanco::gradeEntregaOCodigoDaFazela()
{
    BancoDeTeste banco;
    banco.Executar("Insert into Grupo_Fazela values (7,'g');"
                   "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Prioridade) values (70000,7,'t',1)");
    AbrirConexao();
    RegistrosGrade = std::make_shared<RegistrosBd>();
    RegistrosGrade->Open(Comandos::CarregarGrade(7), Conexao);
    QCOMPARE(RegistrosGrade->Campo(QLatin1StringView("Codigo")).toLongLong(), 70000);
    QCOMPARE(RegistrosGrade->Campo(QLatin1StringView("Grupo")).toString(), QStringLiteral("g"));
    RegistrosGrade->Close();
    FecharConexao();
    // New tasks never take a deleted task's code.
    banco.Executar("Delete from Fazelas; Insert into Fazelas(Cod_Grupo,Fazela) values (7,'u')");
    QCOMPARE(banco.Valor("Select Codigo from Fazelas").toLongLong(), 70001);
}

void TstBanco::campoNuloEPosicao()
{
    BancoDeTeste banco;
    AbrirConexao();
    Registros = std::make_shared<RegistrosBd>();
    Registros->Open(Comandos::MaiorCodigoGrupo(), Conexao);
    QVERIFY(!Registros->Eof());
    QVERIFY(Registros->Campo(0).isNull());
    Registros->MoveNext();
    QVERIFY(Registros->Eof());
    Registros->Close();
    FecharConexao();
}

void TstBanco::falhasNomeiamOArquivoENadaCriam_data()
{
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<QString>("problema");
    QTest::newRow("sem arquivo") << QByteArray() << "não foi encontrado";
    QTest::newRow("outro formato") << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20).repeated(300)
                                   << "não é um banco de dados";
    QTest::newRow("texto") << QByteArray("lista de compras\n").repeated(100) << "não é um banco de dados";
}

void TstBanco::falhasNomeiamOArquivoENadaCriam()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, problema);
    QTemporaryDir pasta;
    PastaDoPrograma = pasta.path();
    if (!conteudo.isEmpty()) {
        QFile f(ArquivoBanco());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
    }
    const QByteArray antes = Resumo(ArquivoBanco());
    try {
        AbrirConexao();
        QFAIL("no failure");
    } catch (const FalhaBanco& falha) {
        QVERIFY2(falha.Relatorio().contains(ArquivoBanco()), qPrintable(falha.Relatorio()));
        QVERIFY2(falha.Descricao().contains(problema), qPrintable(falha.Descricao()));
    }
    QCOMPARE(Resumo(ArquivoBanco()), antes);
    QCOMPARE(QDir(pasta.path()).entryList(QDir::Files).size(), conteudo.isEmpty() ? 0 : 1);
    ReiniciarModulo();
}

void TstBanco::arquivoEmUsoPorOutroPrograma()
{
    BancoDeTeste banco;
    sqlite3* outro = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(banco.Arquivo()).constData(), &outro), SQLITE_OK);
    QCOMPARE(sqlite3_exec(outro, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        AbrirConexao();
        Conexao->Execute(Comandos::GravarUltimoGrupo(3));
        QFAIL("no failure");
    } catch (const FalhaBanco& falha) {
        QVERIFY2(falha.Descricao().contains("em uso por outro programa"), qPrintable(falha.Descricao()));
    }
    sqlite3_exec(outro, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(outro);
    FecharConexao();
    QVERIFY(banco.Valor("Select Ultimo_Grupo from Config").isNull());
}

void TstBanco::comandoRecusadoDizOQue()
{
    BancoDeTeste banco;
    banco.Executar("Drop Table Fazelas");
    AbrirConexao();
    RegistrosGrade = std::make_shared<RegistrosBd>();
    try {
        RegistrosGrade->Open(Comandos::CarregarGrade(1), Conexao);
        QFAIL("no failure");
    } catch (const FalhaBanco& falha) {
        QVERIFY2(falha.Descricao().contains("tabelas esperadas"), qPrintable(falha.Descricao()));
        QVERIFY(falha.Detalhe().contains("no such table: Fazelas"));
    }
    FecharConexao();
}

QTEST_GUILESS_MAIN(TstBanco)
#include "tst_banco.moc"

// The data layer against real files: the statements as sent, the result set, the reading order of
// texts, and the failures a user can meet.
#include "apoio/Apoio.h"
#include "data/Banco.h"
#include "data/Comandos.h"
#include "data/Modulo.h"
#include "data/OrdemTexto.h"

#include <QCryptographicHash>
#include <algorithm>
#include <random>
#include <sqlite3.h>

using namespace Modulo;

namespace {

int Comparar(const std::string& a, const std::string& b)
{
    const int r = OrdemTexto::Comparar(a, b);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

QByteArray Resumo(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

} // namespace

class TstDados : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_banco = std::make_unique<BancoDeTeste>(); }
    void cleanup() { m_banco.reset(); }
    void comandos_data();
    void comandos();
    void textoVoltaComoDigitado();
    void leituraESnapshotDaJuncao();
    void ordemDeUmLeitor_data();
    void ordemDeUmLeitor();
    void ordemTotalECoerente();
    void arquivoServeAoSqliteComum();
    void falhas_data();
    void falhas();

private:
    std::unique_ptr<BancoDeTeste> m_banco;
};

// The statements other programs and the stored file rely on, exactly as sent.
void TstDados::comandos_data()
{
    QTest::addColumn<QString>("obtido");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("ler config") << Comandos::LerConfig() << "Select * from Config";
    QTest::newRow("gravar grupo") << Comandos::GravarUltimoGrupo(-7) << "Update Config set Ultimo_Grupo = -7";
    QTest::newRow("listar") << Comandos::ListarGrupos() << "Select * from Grupo_Fazela Order By Grupo";
    QTest::newRow("maior") << Comandos::MaiorCodigoGrupo() << "Select max(Codigo) from Grupo_Fazela";
    QTest::newRow("incluir grupo") << Comandos::IncluirGrupo(8, "D'Ávila")
                                   << "Insert Into Grupo_Fazela(Codigo,Grupo) values(8,'D''Ávila')";
    QTest::newRow("excluir fazelas") << Comandos::ExcluirFazelasDoGrupo(3) << "Delete from Fazelas Where Cod_Grupo = 3";
    QTest::newRow("excluir grupo") << Comandos::ExcluirGrupo(3) << "Delete from Grupo_Fazela Where Codigo = 3";
    QTest::newRow("grade") << Comandos::CarregarGrade(40000)
                           << "Select * from Grupo_Fazela Inner Join Fazelas ON Grupo_Fazela.Codigo = "
                              "Fazelas.Cod_Grupo Where Grupo_Fazela.Codigo = 40000 Order By Fazelas.Prioridade desc, "
                              "Fazelas.Descricao";
    QTest::newRow("marcar") << Comandos::MarcarExecutado(70000)
                            << "Update Fazelas Set Executado = 'S' Where Codigo = 70000";
    QTest::newRow("desmarcar") << Comandos::DesmarcarExecutado(5)
                               << "Update Fazelas Set Executado = Null Where Codigo = 5";
    QTest::newRow("incluir fazela") << Comandos::IncluirFazela(2, "'a'", "b''", 3)
                                    << "Insert Into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) Values(2,'''a''','b''''',3)";
    QTest::newRow("alterar fazela") << Comandos::AlterarFazela("x'", "y'", 0, "12")
                                    << "Update Fazelas set  Fazela = 'x''', Descricao = 'y''', Prioridade = 0 Where  Codigo = 12";
    QTest::newRow("excluir fazela") << Comandos::ExcluirFazela("12") << "Delete from Fazelas  Where  Codigo = 12";
}

void TstDados::comandos()
{
    QFETCH(QString, obtido);
    QFETCH(QString, esperado);
    QCOMPARE(obtido, esperado);
}

void TstDados::textoVoltaComoDigitado()
{
    const QString nome = QStringLiteral("'; Drop Table Fazelas; -- \\ \" % ção 🙂 ''");
    AbrirConexao();
    Conexao->Execute(Comandos::IncluirGrupo(1, nome));
    Conexao->Execute(Comandos::IncluirFazela(1, nome, nome, 2));
    FecharConexao();
    QCOMPARE(m_banco->Linhas("Select Grupo, Fazela, Descricao from Grupo_Fazela, Fazelas"),
             (QList<QVariantList>{{nome, nome, nome}}));
}

// A static snapshot that writes made while it is walked do not change; where the join carries two
// Codigo columns, the name reaches the task's.
void TstDados::leituraESnapshotDaJuncao()
{
    m_banco->Executar("Insert into Grupo_Fazela values (1,'a'), (7,'b');"
                      "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Prioridade) values (70000,7,'t',1)");
    const auto arquivosAbertos = [] { return QDir("/proc/self/fd").count(); };
    const auto antes = arquivosAbertos();
    AbrirConexao();
    Registros = std::make_shared<RegistrosBd>();
    Registros->Open(Comandos::ListarGrupos(), Conexao);
    QStringList lidos;
    for (; !Registros->Eof(); Registros->MoveNext()) {
        lidos << Registros->Campo(QLatin1StringView("Grupo")).toString();
        Conexao->Execute(Comandos::IncluirGrupo(10 + int(lidos.size()), "novo"));
    }
    QCOMPARE(lidos, QStringList({"a", "b"}));
    RegistrosGrade = std::make_shared<RegistrosBd>();
    RegistrosGrade->Open(Comandos::CarregarGrade(7), Conexao);
    QCOMPARE(RegistrosGrade->Campo(QLatin1StringView("Codigo")).toLongLong(), 70000);
    QCOMPARE(RegistrosGrade->Campo(QLatin1StringView("Grupo")).toString(), QStringLiteral("b"));
    FecharConexao();
    QCOMPARE(arquivosAbertos(), antes); // the file is let go
    // New tasks never take a deleted task's code.
    m_banco->Executar("Delete from Fazelas; Insert into Fazelas(Cod_Grupo,Fazela) values (7,'u')");
    QCOMPARE(m_banco->Valor("Select Codigo from Fazelas").toLongLong(), 70001);
}

void TstDados::ordemDeUmLeitor_data()
{
    QTest::addColumn<QStringList>("esperado");
    QTest::newRow("palavras") << QStringList({"abacaxi", "Água", "banana", "Casa", "ônibus", "zebra"});
    // Letters first; then the accent; then small before capital.
    QTest::newRow("desempates") << QStringList({"casa", "Casa", "cása", "Cása", "casas", "cáscara"});
    QTest::newRow("acento composto") << QStringList({"a", "á", "a\u0301", "ab", "a\u0301c", "b"});
    QTest::newRow("sinais e números") << QStringList({"", " z", "1", "a b", "ab", "ação", "acaso", "ç", "d"});
}

void TstDados::ordemDeUmLeitor()
{
    QFETCH(QStringList, esperado);
    std::vector<std::string> textos;
    for (auto it = esperado.crbegin(); it != esperado.crend(); ++it)
        textos.push_back(it->toStdString());
    std::stable_sort(textos.begin(), textos.end(), [](auto& a, auto& b) { return Comparar(a, b) < 0; });
    QStringList obtido;
    for (const auto& t : textos)
        obtido << QString::fromStdString(t);
    QCOMPARE(obtido, esperado);
}

void TstDados::ordemTotalECoerente()
{
    // Pieces that take every path of the comparison: plain letters, accents precomposed and
    // combining, capitals, signs, and bytes that are no UTF-8 at all.
    const std::vector<std::string> pecas = {"a", "A", "á", "Á", "a\xCC\x81", "b", "B", " ", "-", "ç", "Ç", "z", "ô",
        "\xCC\x83", "ß", "Æ", "€", "\xC3", "\xFF", "e", "é", "ão", "x"};
    std::mt19937 sorteio(7);
    std::vector<std::string> textos(300);
    for (auto& t : textos)
        for (int n = int(sorteio() % 7); n > 0; --n)
            t += pecas[sorteio() % pecas.size()];
    std::sort(textos.begin(), textos.end(), [](auto& a, auto& b) { return Comparar(a, b) < 0; });
    const std::string prefixo = "Comprar pão e leite ";
    for (size_t i = 0; i < textos.size(); ++i)
        for (size_t j = i; j < textos.size(); ++j) {
            const int r = Comparar(textos[i], textos[j]);
            QVERIFY2(r == (textos[i] == textos[j] ? 0 : -1), (textos[i] + " | " + textos[j]).c_str());
            QCOMPARE(Comparar(textos[j], textos[i]), -r);
            // A long shared beginning changes nothing (unless an accent there would join it).
            if (textos[i].rfind("\xCC", 0) != 0 && textos[j].rfind("\xCC", 0) != 0)
                QCOMPARE(Comparar(prefixo + textos[i], prefixo + textos[j]), r);
        }
}

void TstDados::arquivoServeAoSqliteComum()
{
    // The test's own connection is plain SQLite, as the sqlite3 shell is.
    m_banco->Executar("Insert into Grupo_Fazela values (1,'b'), (2,'A');"
                      "Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) values (1,'y','a',3);"
                      "Update Fazelas set Descricao = 'c' where Descricao = 'a';"
                      "Update Grupo_Fazela set Grupo = 'B' where Grupo = 'b';");
    QCOMPARE(m_banco->Linhas("Select Grupo from Grupo_Fazela Order By Grupo"), QList<QVariantList>({{"A"}, {"B"}}));
    QCOMPARE(m_banco->Valor("Select Descricao from Fazelas where Descricao = 'C'").toString(), QStringLiteral("c"));
    QCOMPARE(m_banco->Valor("Pragma integrity_check").toString(), QStringLiteral("ok"));
}

void TstDados::falhas_data()
{
    QTest::addColumn<QByteArray>("conteudo"); // the file's bytes; "-": no file; empty: the schema
    QTest::addColumn<QString>("preparo");     // statements run first on the schema
    QTest::addColumn<QString>("problema");
    QTest::addColumn<QString>("acao");
    QTest::newRow("sem arquivo") << QByteArray("-") << "" << "não foi encontrado" << "ao abrir";
    QTest::newRow("Access") << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20).repeated(300) << ""
                            << "formato do Microsoft Access" << "ao abrir";
    QTest::newRow("texto") << QByteArray("lista de compras\n").repeated(100) << "" << "formato desconhecido" << "ao abrir";
    QTest::newRow("sem tabela") << QByteArray() << "Drop Table Config" << "não tem as tabelas esperadas" << "ao gravar";
    QTest::newRow("em uso") << QByteArray() << "" << "em uso por outro programa" << "ao gravar";
    // Its last page, one of the tasks', is spoiled below.
    QTest::newRow("danificado") << QByteArray() << Tarefas(400) << "danificado" << "ao ler";
}

// Each names the file and the problem, and leaves the file as it was, with nothing new beside it.
void TstDados::falhas()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, preparo);
    QFETCH(QString, problema);
    QFETCH(QString, acao);
    if (!conteudo.isEmpty()) {
        QFile f(m_banco->Arquivo());
        QVERIFY(conteudo == "-" ? f.remove() : f.open(QIODevice::WriteOnly) && f.write(conteudo) > 0);
    }
    if (!preparo.isEmpty())
        m_banco->Executar(preparo);
    if (problema == "danificado") {
        QFile f(m_banco->Arquivo());
        QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(f.size() - 4096) && f.write(QByteArray(4096, '\xff')) == 4096);
    }
    // Another program holds the file longer than the program waits.
    sqlite3* outro = nullptr;
    if (problema.startsWith("em uso")) {
        sqlite3_open(QFile::encodeName(m_banco->Arquivo()).constData(), &outro);
        QCOMPARE(sqlite3_exec(outro, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    const QByteArray antes = Resumo(ArquivoBanco());
    const auto pasta = QDir(m_banco->Pasta()).entryList(QDir::Files);
    QElapsedTimer relogio;
    relogio.start();
    try {
        AbrirConexao();
        RegistrosGrade = std::make_shared<RegistrosBd>();
        RegistrosGrade->Open(Comandos::CarregarGrade(1), Conexao);
        Conexao->Execute(Comandos::GravarUltimoGrupo(3));
        QFAIL("no failure");
    } catch (const FalhaBanco& falha) {
        QVERIFY2(falha.Relatorio().contains(ArquivoBanco()), qPrintable(falha.Relatorio()));
        QVERIFY2(falha.Descricao().contains(problema) && falha.Detalhe().startsWith(acao), qPrintable(falha.Relatorio()));
    }
    if (outro) {
        QVERIFY(relogio.elapsed() >= 2500); // it waited for the other program first
        sqlite3_close(outro);
    }
    FecharConexao();
    QCOMPARE(Resumo(ArquivoBanco()), antes);
    QCOMPARE(QDir(m_banco->Pasta()).entryList(QDir::Files), pasta);
}

QTEST_MAIN(TstDados)
#include "tst_dados.moc"

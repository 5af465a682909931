// The database file's class against real files: every operation, hostile texts byte for byte,
// codes past 2^32, another program writing between operations, the reading order of texts, and
// the failures a user can meet.
#include "apoio/Apoio.h"
#include "apoio/ArquivoObservado.h"
#include "data/BancoDeDados.h"
#include "data/OrdemTexto.h"

#include <QCryptographicHash>
#include <algorithm>
#include <sqlite3.h>
#include <sys/mount.h>
#include <thread>

namespace {

int comparar(const std::string& a, const std::string& b)
{
    const int r = OrdemTexto::comparar(a, b);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

QByteArray resumo(const QString& arquivo)
{
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

QString texto(std::string_view bytes) { return QString::fromUtf8(bytes.data(), qsizetype(bytes.size())); }

// A group's tasks as the class hands them over: code, name, description, priority, done.
QList<QVariantList> lidas(const BancoDeDados& banco, int64_t grupo, int64_t* total = nullptr, int ate = -1)
{
    QList<QVariantList> linhas;
    banco.lerFazelas(
        grupo,
        [&](const LinhaDeFazela& l) {
            linhas << QVariantList { qlonglong(l.codigo), texto(l.nome), texto(l.descricao), l.prioridade,
                l.executada };
            return int(linhas.size()) != ate;
        },
        total);
    return linhas;
}

// A small file system of its own for the folder, where the process may mount one (root).
struct Montagem
{
    QString pasta;
    bool montada = false;
    explicit Montagem(const QString& p, const char* opcoes)
        : pasta(p)
    {
        QDir().mkpath(pasta);
        montada = ::mount("tmpfs", QFile::encodeName(pasta).constData(), "tmpfs", 0, opcoes) == 0;
    }
    bool somenteLeitura()
    {
        return ::mount("tmpfs", QFile::encodeName(pasta).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    ~Montagem()
    {
        if (montada)
            ::umount2(QFile::encodeName(pasta).constData(), MNT_DETACH);
    }
};

} // namespace

class TstDados : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_banco = std::make_unique<BancoDeTeste>();
        m_bd = std::make_unique<BancoDeDados>(m_banco->arquivo());
    }
    void cleanup()
    {
        m_bd.reset();
        m_banco.reset();
    }
    void grupos();
    void fazelas();
    void textosVoltamByteAByte_data();
    void textosVoltamByteAByte();
    void outroProgramaEntreAsOperacoes();
    void gravacaoConfirmadaSobreviveAQueda();
    void ordemDeUmLeitor_data();
    void ordemDeUmLeitor();
    void falhas_data();
    void falhas();

private:
    std::unique_ptr<BancoDeTeste> m_banco;
    std::unique_ptr<BancoDeDados> m_bd;
};

void TstDados::grupos()
{
    QVERIFY(m_bd->grupos().isEmpty() && !m_bd->grupoLembrado());
    // Remembering writes the one settings row, past 2^32 too.
    m_bd->lembrarGrupo(4294967297LL);
    QCOMPARE(m_bd->grupoLembrado(), 4294967297LL);
    QCOMPARE(m_banco->valor("Select count(*) from Config").toInt(), 1);
    QCOMPARE(m_bd->incluirGrupo(QStringLiteral("zebra")), 1);
    m_banco->executar("Insert into Grupo_Fazela values (7,'Água'), (4294967296,'abacaxi');"
                      "Insert into Fazelas(Codigo,Cod_Grupo,Fazela) values (1,7,'a'), (2,4294967296,'b'), (3,1,'c')");
    // The next code past the largest, even past 2^32 and with free codes below.
    QCOMPARE(m_bd->incluirGrupo(QStringLiteral("Casa")), 4294967297LL);
    QCOMPARE(m_bd->incluirGrupo(QString()), 4294967298LL);
    QCOMPARE(m_bd->grupos(),
        (QList<Grupo> { { 4294967298LL, "" }, { 4294967296LL, "abacaxi" }, { 7, "Água" }, { 4294967297LL, "Casa" },
            { 1, "zebra" } }));
    // A group goes with its tasks, and only with them.
    m_bd->excluirGrupo(4294967296LL);
    QCOMPARE(m_banco->linhas("Select Codigo from Grupo_Fazela Order By Codigo"),
        (QList<QVariantList> { { 1 }, { 7 }, { 4294967297LL }, { 4294967298LL } }));
    QCOMPARE(m_banco->linhas("Select Codigo from Fazelas Order By Codigo"), (QList<QVariantList> { { 1 }, { 3 } }));
    // No code is left past the largest: a clear failure, not a code that wraps onto another group.
    m_banco->executar("Insert into Grupo_Fazela values (9223372036854775807,'último')");
    QVERIFY_THROWS_EXCEPTION(FalhaBanco, m_bd->incluirGrupo(QStringLiteral("mais um")));
    QCOMPARE(m_banco->valor("Select count(*) from Grupo_Fazela").toInt(), 5);
}

void TstDados::fazelas()
{
    // Rows other programs wrote: priorities out of range or Null, Executado of every kind, a Null
    // description, a task whose group is gone.
    m_banco->executar(
        "Insert into Grupo_Fazela values (1,'g'), (4294967297,'h');"
        "Insert into Fazelas(Codigo,Cod_Grupo,Fazela,Descricao,Prioridade,Executado) values"
        " (2147483654,1,'b','b',3,null), (4294967302,1,'a','a',3,'S'), (6,4294967297,'seis','',1,null),"
        " (10,1,'x','x',9,''), (11,1,'n',null,null,1), (12,1,'u','u',5,'não'), (13,99,'órfã','o',5,null)");
    // In the order of what is stored (9 first, Null last), each read as the board shows it.
    const QList<QVariantList> grupo1 = { { 10, "x", "x", 0, false }, { 12, "u", "u", 5, true },
        { 4294967302LL, "a", "a", 3, true }, { 2147483654LL, "b", "b", 3, false }, { 11, "n", "", 0, true } };
    int64_t total = -1;
    QCOMPARE(lidas(*m_bd, 1, &total), grupo1);
    QCOMPARE(total, 5);
    // Stopped after two rows, the count is still the group's.
    QCOMPARE(lidas(*m_bd, 1, &total, 2), grupo1.mid(0, 2));
    QCOMPARE(total, 5);
    QCOMPARE(lidas(*m_bd, 99, &total), QList<QVariantList>());
    QCOMPARE(total, 0);

    // Each by its code, past 2^31 and 2^32: its neighbours and the task of the same low 32 bits
    // (6) stay as they were.
    const int64_t nova = m_bd->incluirFazela(4294967297LL, QStringLiteral("nova"), QString(), 4);
    QCOMPARE(m_banco->linhas(
                 "Select Cod_Grupo, Fazela, Descricao, Prioridade, Executado from Fazelas where Codigo = ?", { nova }),
        (QList<QVariantList> { { 4294967297LL, "nova", "", 4, QVariant() } }));
    m_bd->marcarFazela(4294967302LL, false);
    m_bd->marcarFazela(2147483654LL, true);
    m_bd->alterarFazela(4294967302LL, QStringLiteral("a2"), QStringLiteral("d2"), 1);
    m_bd->excluirFazela(2147483654LL);
    QCOMPARE(lidas(*m_bd, 1),
        (QList<QVariantList> { { 10, "x", "x", 0, false }, { 12, "u", "u", 5, true },
            { 4294967302LL, "a2", "d2", 1, false }, { 11, "n", "", 0, true } }));
    QCOMPARE(lidas(*m_bd, 4294967297LL),
        (QList<QVariantList> { { qlonglong(nova), "nova", "", 4, false }, { 6, "seis", "", 1, false } }));
    // A deleted task's code is never given again.
    m_bd->excluirFazela(nova);
    QVERIFY(m_bd->incluirFazela(1, QStringLiteral("depois"), QString(), 3) > nova);
}

void TstDados::textosVoltamByteAByte_data()
{
    QTest::addColumn<QString>("texto");
    QTest::newRow("apóstrofos") << "'; Drop Table Fazelas; -- '' ' \\' \" ?1 :a @b $c %s";
    QTest::newRow("acentos e direção") << "Ação e\u0301 مرحبا שלום \u202einvertido\u202c";
    QTest::newRow("emoji") << "🙂👍🏽👨‍👩‍👧 🇧🇷 𝄞";
    QTest::newRow("controles e NUL") << QStringLiteral("a\tb\nc\r\x01\u2028%1fim").arg(QChar(0));
    QTest::newRow("longo") << QString(70000, QLatin1Char('x')) + "'";
}

// What the user typed is what the file holds, byte for byte, and what comes back.
void TstDados::textosVoltamByteAByte()
{
    QFETCH(QString, texto);
    const int64_t grupo = m_bd->incluirGrupo(texto);
    const int64_t codigo = m_bd->incluirFazela(grupo, texto, texto, 2);
    m_bd->alterarFazela(codigo, texto + texto, texto, 1);
    QCOMPARE(m_bd->grupos(), (QList<Grupo> { { grupo, texto } }));
    QCOMPARE(lidas(*m_bd, grupo), (QList<QVariantList> { { qlonglong(codigo), texto + texto, texto, 1, false } }));
    QCOMPARE(m_banco->valor("Select typeof(Descricao) || hex(Descricao) from Fazelas").toString(),
        "text" + QString::fromLatin1(texto.toUtf8().toHex().toUpper()));
}

// Between the board's operations the file is another program's to write: each operation reads
// what the file holds then, and a write waits for another program's to end.
void TstDados::outroProgramaEntreAsOperacoes()
{
    m_bd->incluirGrupo(QStringLiteral("a"));
    m_bd->incluirGrupo(QStringLiteral("b"));
    m_banco->executar("Delete from Grupo_Fazela where Codigo = 2; Insert into Grupo_Fazela values (9,'c');"
                      "Insert into Fazelas(Cod_Grupo,Fazela,Prioridade) values (9,'de fora',3)");
    QCOMPARE(m_bd->grupos(), (QList<Grupo> { { 1, "a" }, { 9, "c" } }));
    QCOMPARE(lidas(*m_bd, 9).size(), 1);
    m_bd->excluirGrupo(2); // already gone: nothing to do, and no failure
    // Another program holds the file for a moment and adds a group meanwhile: the add waits for it,
    // then takes the code past the one it added.
    sqlite3* outro = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(m_banco->arquivo()).constData(), &outro), SQLITE_OK);
    QCOMPARE(
        sqlite3_exec(outro, "BEGIN IMMEDIATE; Insert into Grupo_Fazela values (10,'d')", nullptr, nullptr, nullptr),
        SQLITE_OK);
    std::thread termina([outro] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300)); // a slow program, not a synchronisation
        sqlite3_exec(outro, "COMMIT", nullptr, nullptr, nullptr);
    });
    const int64_t codigo = m_bd->incluirGrupo(QStringLiteral("e"));
    termina.join();
    sqlite3_close(outro);
    QCOMPARE(codigo, 11);
    QCOMPARE(m_banco->valor("Select count(*) from Grupo_Fazela").toInt(), 4);
}

// A committed write reaches the disk with the folder that lost the journal: a power cut right
// after it cannot bring the journal back and undo it.
void TstDados::gravacaoConfirmadaSobreviveAQueda()
{
    m_bd->incluirGrupo(QStringLiteral("g"));
    ArquivoObservado observado;
    QStringList apagados;
    observado.aoApagar = [&](const char* arquivo, bool pastaSincronizada) {
        apagados << QStringLiteral("%1 %2")
                        .arg(QFileInfo(QString::fromLocal8Bit(arquivo)).fileName())
                        .arg(pastaSincronizada);
    };
    const int64_t codigo = m_bd->incluirFazela(1, QStringLiteral("t"), QString(), 3);
    m_bd->marcarFazela(codigo, true);
    m_bd->excluirGrupo(1);
    QCOMPARE(apagados, QStringList(3, QStringLiteral("fzldados.mdb-journal 1")));
}

void TstDados::ordemDeUmLeitor_data()
{
    QTest::addColumn<QStringList>("esperado");
    QTest::newRow("palavras") << QStringList({ "abacaxi", "Água", "banana", "Casa", "ônibus", "zebra" });
    // Letters first; then the accent; then small before capital.
    QTest::newRow("desempates") << QStringList({ "casa", "Casa", "cása", "Cása", "casas", "cáscara" });
    QTest::newRow("acento composto") << QStringList({ "a", "á", "a\u0301", "ab", "a\u0301c", "b" });
    QTest::newRow("sinais e números") << QStringList({ "", " z", "1", "a b", "ab", "ação", "acaso", "ç", "d" });
}

void TstDados::ordemDeUmLeitor()
{
    QFETCH(QStringList, esperado);
    std::vector<std::string> textos;
    for (auto it = esperado.crbegin(); it != esperado.crend(); ++it)
        textos.push_back(it->toStdString());
    std::stable_sort(textos.begin(), textos.end(), [](auto& a, auto& b) { return comparar(a, b) < 0; });
    QStringList obtido;
    for (const auto& t : textos)
        obtido << QString::fromStdString(t);
    QCOMPARE(obtido, esperado);
}

void TstDados::falhas_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("conteudo"); // the file's bytes; "-": no file; empty: the schema
    QTest::addColumn<QString>("preparo"); // statements run first on the schema
    QTest::addColumn<QString>("problema");
    QTest::addColumn<QString>("operacao");
    QTest::newRow("sem arquivo") << QByteArray("-") << "" << "o arquivo não foi encontrado" << "ao abrir";
    QTest::newRow("Access") << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20).repeated(300) << ""
        << "formato do Microsoft Access" << "ao abrir";
    QTest::newRow("texto") << QByteArray("lista de compras\n").repeated(100) << "" << "formato desconhecido"
        << "ao abrir";
    QTest::newRow("vazio") << QByteArray("+") << "" << "o arquivo está vazio" << "ao ler";
    QTest::newRow("sem tabela") << QByteArray() << "Drop Table Fazelas" << "não tem as tabelas esperadas"
        << "ao gravar";
    QTest::newRow("em uso") << QByteArray() << "" << "em uso por outro programa" << "ao gravar";
    // Its last page, one of the tasks', is spoiled below: the read fails half-way.
    QTest::newRow("danificado") << QByteArray() << tarefas(400) << "danificado" << "ao ler";
    // The tasks were deleted first: they come back with the group.
    QTest::newRow("recusado no meio") << QByteArray()
        << tarefas(3) + "Create Trigger recusa Before Delete On Grupo_Fazela Begin Select Raise(Abort, 'recusado'); End"
        << "recusou a operação" << "ao gravar";
    QTest::newRow("sistema só de leitura") << QByteArray() << "" << "o sistema de arquivos só permite leitura"
        << "ao abrir";
    QTest::newRow("disco cheio") << QByteArray() << tarefas(3) << "o disco está cheio" << "ao gravar";
    // clang-format on
}

// Each names the file, the operation and the problem, and leaves the file as it was, with nothing
// new beside it.
void TstDados::falhas()
{
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, preparo);
    QFETCH(QString, problema);
    QFETCH(QString, operacao);
    std::optional<Montagem> montagem;
    if (problema.contains("sistema") || problema.contains("disco")) {
        montagem.emplace(m_banco->pasta() + "/montada", problema.contains("disco") ? "size=256k" : "size=1m");
        if (!montagem->montada)
            QSKIP("no file system of its own can be mounted here (needs root)");
        QVERIFY(QFile::copy(m_banco->arquivo(), montagem->pasta + "/fzldados.mdb"));
        m_bd = std::make_unique<BancoDeDados>(montagem->pasta + "/fzldados.mdb");
    }
    const QString arquivo = m_bd->arquivo();
    if (!conteudo.isEmpty()) {
        QFile f(arquivo);
        QVERIFY(conteudo == "-"
                ? f.remove()
                : f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(conteudo.mid(conteudo == "+")) >= 0);
    }
    if (!preparo.isEmpty()) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(arquivo).constData(), &db);
        QCOMPARE(sqlite3_exec(db, preparo.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    if (problema == "danificado") {
        QFile f(arquivo);
        QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(f.size() - 4096) && f.write(QByteArray(4096, '\xff')) == 4096);
    }
    if (montagem && problema.contains("sistema"))
        QVERIFY(montagem->somenteLeitura());
    // Another program holds the file longer than a write waits.
    sqlite3* outro = nullptr;
    if (problema.startsWith("em uso")) {
        sqlite3_open(QFile::encodeName(arquivo).constData(), &outro);
        QCOMPARE(sqlite3_exec(outro, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    const QByteArray antes = resumo(arquivo);
    const auto pasta = QDir(QFileInfo(arquivo).path()).entryList(QDir::Files);
    QElapsedTimer relogio;
    relogio.start();
    try {
        if (operacao == "ao gravar" && problema.contains("disco"))
            m_bd->incluirFazela(1, QStringLiteral("grande"), QString(512 * 1024, QLatin1Char('x')), 3);
        else if (problema.startsWith("em uso"))
            m_bd->marcarFazela(1, true); // a write of one statement, refused at its step
        else if (operacao == "ao gravar")
            m_bd->excluirGrupo(1);
        else if (problema == "danificado")
            lidas(*m_bd, 1);
        else
            m_bd->grupoLembrado();
        QFAIL("no failure");
    } catch (const FalhaBanco& falha) {
        QVERIFY2(falha.relatorio().contains(arquivo), qPrintable(falha.relatorio()));
        QVERIFY2(falha.descricao().contains(problema) && falha.operacao() == operacao, qPrintable(falha.relatorio()));
    }
    if (outro) {
        QVERIFY(relogio.elapsed() >= 2500); // it waited for the other program first
        sqlite3_close(outro);
    }
    QCOMPARE(resumo(arquivo), antes);
    QCOMPARE(QDir(QFileInfo(arquivo).path()).entryList(QDir::Files), pasta);
}

QTEST_MAIN(TstDados)
#include "tst_dados.moc"

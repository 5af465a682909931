// Which fzldados.mdb is the board: the one beside a copy of the program, or, for the installed
// program, the user's own in their data folder, made on their first start.
#include "data/BancoDeDados.h"
#include "shell/PastaDoBanco.h"

#include <QtTest>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

class TstPastaDoBanco : public QObject
{
    Q_OBJECT
private slots:
    void escolha_data();
    void escolha();
};

void TstPastaDoBanco::escolha_data()
{
    // clang-format off
    QTest::addColumn<bool>("instalado"); // the program lies in the installed folder (through a link with "atalho")
    QTest::addColumn<QString>("xdg"); // XDG_DATA_HOME, "@" standing for the test's folder; "-": not set
    QTest::addColumn<QString>("antes"); // "quadro": the data folder holds a board; "programa": the program's
                                        // folder does; "arquivo": a file where the data folder goes;
                                        // "trancada": the data folder cannot be written
    QTest::addColumn<QString>("esperada"); // the folder chosen, under the test's folder
    QTest::addColumn<QString>("problema"); // the failure reported instead
    QTest::newRow("cópia") << false << "@/dados" << "programa" << "programa" << "";
    QTest::newRow("cópia sem arquivo") << false << "@/dados" << "" << "programa" << "";
    QTest::newRow("instalado, primeira vez") << true << "@/dados" << "" << "dados/fazelas" << "";
    QTest::newRow("instalado, depois") << true << "@/dados" << "quadro" << "dados/fazelas" << "";
    QTest::newRow("instalado, por um atalho") << true << "@/dados" << "atalho" << "dados/fazelas" << "";
    QTest::newRow("sem XDG_DATA_HOME") << true << "-" << "" << "casa/.local/share/fazelas" << "";
    QTest::newRow("XDG_DATA_HOME relativo") << true << "dados" << "" << "casa/.local/share/fazelas" << "";
    QTest::newRow("arquivo no lugar") << true << "@/dados" << "arquivo" << "" << "não pôde ser criada";
    QTest::newRow("pasta sem gravação") << true << "@/dados" << "trancada" << "" << "não permite gravação";
    // clang-format on
}

void TstPastaDoBanco::escolha()
{
    QFETCH(bool, instalado);
    QFETCH(QString, xdg);
    QFETCH(QString, antes);
    QFETCH(QString, esperada);
    QFETCH(QString, problema);
    QTemporaryDir tmp;
    const QDir raiz(tmp.path());
    const QString programa = raiz.filePath("programa"), dados = raiz.filePath("dados/fazelas");
    QVERIFY(raiz.mkpath("programa") && raiz.mkpath("instalada"));
    const QByteArray casaAntes = qgetenv("HOME"), xdgAntes = qgetenv("XDG_DATA_HOME");
    auto devolver = qScopeGuard([&] {
        qputenv("HOME", casaAntes);
        xdgAntes.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdgAntes);
        QFile::setPermissions(dados, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    qputenv("HOME", raiz.filePath("casa").toUtf8());
    xdg == "-" ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", xdg.replace("@", tmp.path()).toUtf8());
    if (antes == "programa")
        QFile(programa + "/fzldados.mdb").open(QIODevice::WriteOnly);
    if (antes == "quadro" || antes == "trancada")
        QVERIFY(raiz.mkpath(dados));
    if (antes == "quadro")
        QFile(dados + "/fzldados.mdb").open(QIODevice::WriteOnly);
    if (antes == "arquivo")
        QVERIFY(raiz.mkpath("dados") && QFile(dados).open(QIODevice::WriteOnly));
    QString pastaDoPrograma = programa;
    if (antes == "atalho")
        QVERIFY(QFile::link(programa, pastaDoPrograma = raiz.filePath("atalho")));
    // A folder nobody but root may write; root itself then looks for the board as another user.
    const bool comoOutro = antes == "trancada" && geteuid() == 0;
    if (antes == "trancada") {
        const auto leitura = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
            | QFile::ExeOther;
        for (const QString& acima : { tmp.path(), raiz.filePath("dados") })
            QVERIFY(QFile::setPermissions(acima, leitura | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(dados, leitura));
    }

    const QString instalada = raiz.filePath(instalado ? "programa" : "instalada");
    QString escolhida;
    std::optional<FalhaBanco> falha;
    QVERIFY(!comoOutro || seteuid(65534) == 0);
    try {
        escolhida = pastaDoBanco(pastaDoPrograma, instalada);
    } catch (const FalhaBanco& f) {
        falha = f;
    }
    QVERIFY(!comoOutro || seteuid(0) == 0);
    if (falha) {
        QVERIFY2(falha->descricao().contains(problema) && !problema.isEmpty(), qPrintable(falha->relatorio()));
        QCOMPARE(falha->arquivo(), dados + "/fzldados.mdb");
        QVERIFY(!falha->causa().isEmpty());
        // Nothing half-made is left behind.
        QCOMPARE(QDir(dados).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
        return;
    }
    QVERIFY2(problema.isEmpty(), "no failure");
    QCOMPARE(escolhida, esperada == "programa" ? pastaDoPrograma : raiz.filePath(esperada));
    const QString arquivo = QDir(raiz.filePath(esperada)).filePath("fzldados.mdb");
    if (!instalado) {
        // A copy never makes a board: without its file, opening it reports the file missing.
        QCOMPARE(QFile::exists(arquivo), antes == "programa");
        QVERIFY(!raiz.exists("dados") && !raiz.exists("casa"));
        return;
    }
    if (antes == "quadro") {
        QCOMPARE(QFileInfo(arquivo).size(), 0); // the user's board as it was
        return;
    }
    // A new board, as the companion command makes it, in folders for the user alone.
    const BancoDeDados banco(arquivo);
    QVERIFY(banco.grupos().isEmpty() && !banco.grupoLembrado());
    for (QString pasta = raiz.filePath(esperada); pasta != tmp.path(); pasta = QFileInfo(pasta).path()) {
        struct stat info;
        QVERIFY(::stat(QFile::encodeName(pasta).constData(), &info) == 0);
        QCOMPARE(info.st_mode & 0777, 0700u);
    }
    QCOMPARE(QDir(raiz.filePath(esperada)).entryList(QDir::Files), QStringList("fzldados.mdb"));
}

QTEST_GUILESS_MAIN(TstPastaDoBanco)
#include "tst_pasta_do_banco.moc"

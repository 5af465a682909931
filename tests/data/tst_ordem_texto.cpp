// The order of text columns: as a Portuguese reader expects, in the program; the file stays
// usable from a plain SQLite connection, which knows nothing of it.
#include "apoio/Apoio.h"
#include "data/OrdemTexto.h"

#include <QtTest>
#include <algorithm>
#include <random>

namespace {

int Sinal(int r) { return r < 0 ? -1 : r > 0 ? 1 : 0; }

int Comparar(const QString& a, const QString& b)
{
    const QByteArray x = a.toUtf8(), y = b.toUtf8();
    return Sinal(OrdemTexto::Comparar({ x.constData(), size_t(x.size()) }, { y.constData(), size_t(y.size()) }));
}

QStringList Ordenados(QStringList textos)
{
    std::stable_sort(
        textos.begin(), textos.end(), [](const QString& a, const QString& b) { return Comparar(a, b) < 0; });
    return textos;
}

} // namespace

class TstOrdemTexto : public QObject
{
    Q_OBJECT
private slots:
    void ordemDeUmLeitor_data();
    void ordemDeUmLeitor();
    void ordemTotalECoerente();
    void arquivoServeAoSqliteComum();
};

void TstOrdemTexto::ordemDeUmLeitor_data()
{
    QTest::addColumn<QStringList>("esperado");
    QTest::newRow("palavras") << QStringList({ "abacaxi", "Água", "banana", "Casa", "ônibus", "zebra" });
    // Letters first; then the accent; then small before capital.
    QTest::newRow("desempates") << QStringList({ "casa", "Casa", "cása", "Cása", "casas", "cáscara" });
    QTest::newRow("acento composto") << QStringList({ "a", "á", "a\u0301", "ab", "a\u0301c", "b" });
    QTest::newRow("sinais e números") << QStringList({ "", " z", "1", "a b", "ab", "ação", "acaso", "ç", "d" });
}

void TstOrdemTexto::ordemDeUmLeitor()
{
    QFETCH(QStringList, esperado);
    QStringList embaralhado = esperado;
    std::reverse(embaralhado.begin(), embaralhado.end());
    QCOMPARE(Ordenados(embaralhado), esperado);
}

void TstOrdemTexto::ordemTotalECoerente()
{
    // Pieces that take every path of the comparison: plain letters, accents precomposed and
    // combining, capitals, signs, and bytes that are no UTF-8 at all.
    const std::vector<std::string> pecas = { "a", "A", "á", "Á", "a\xCC\x81", "b", "B", " ", "-", "ç", "Ç", "z", "ô",
        "\xCC\x83", "ß", "Æ", "€", "\xC3", "\xFF", "e", "é", "ão", "x" };
    std::mt19937 sorteio(7);
    std::vector<std::string> textos;
    for (int i = 0; i < 400; ++i) {
        std::string t;
        for (int n = int(sorteio() % 7); n > 0; --n)
            t += pecas[sorteio() % pecas.size()];
        textos.push_back(t);
    }
    auto comparar = [](const std::string& a, const std::string& b) { return Sinal(OrdemTexto::Comparar(a, b)); };
    std::sort(textos.begin(), textos.end(), [&](const auto& a, const auto& b) { return comparar(a, b) < 0; });
    for (size_t i = 0; i < textos.size(); ++i) {
        QCOMPARE(comparar(textos[i], textos[i]), 0);
        for (size_t j = i + 1; j < textos.size(); ++j) {
            const int r = comparar(textos[i], textos[j]);
            QVERIFY2(r == (textos[i] == textos[j] ? 0 : -1), (textos[i] + " | " + textos[j]).c_str());
            QCOMPARE(comparar(textos[j], textos[i]), -r);
            // A long shared beginning changes nothing (unless an accent there would join it).
            const std::string prefixo = "Comprar pão e leite ";
            if (textos[i].rfind("\xCC", 0) != 0 && textos[j].rfind("\xCC", 0) != 0)
                QCOMPARE(comparar(prefixo + textos[i], prefixo + textos[j]), r);
        }
    }
}

void TstOrdemTexto::arquivoServeAoSqliteComum()
{
    // The test's own connection is plain SQLite, as the sqlite3 shell is.
    BancoDeTeste banco;
    banco.Executar(
        "Insert into Grupo_Fazela values (1,'b'), (2,'A');"
        "Insert into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) values (1,'x','Ônibus',3), (1,'y','a',3);"
        "Update Fazelas set Descricao = 'c' where Descricao = 'a';"
        "Delete from Fazelas where Fazela = 'x';"
        "Update Grupo_Fazela set Grupo = 'B' where Grupo = 'b';");
    QCOMPARE(banco.Linhas("Select Grupo from Grupo_Fazela Order By Grupo"), QList<QVariantList>({ { "A" }, { "B" } }));
    QCOMPARE(banco.Valor("Select Descricao from Fazelas where Descricao = 'C'").toString(), QStringLiteral("c"));
    QCOMPARE(banco.Valor("Pragma integrity_check").toString(), QStringLiteral("ok"));
}

QTEST_MAIN(TstOrdemTexto)
#include "tst_ordem_texto.moc"

#include <QImage>
#include <QTest>

#include <vector>

#include "assets/Imagens.h"

namespace {

const QRgb Chave = qRgb(41, 22, 111);

QImage prancheta()
{
    return Imagens::Ler(Imagens::Prancheta).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TstImagens : public QObject {
    Q_OBJECT

private slots:
    void pranchetaTemContornoNaCaixa();
    void pranchetaNaoTemChaveDentro();
    void demaisImagensCarregam_data();
    void demaisImagensCarregam();
    void maoTemPontaNoHotspot();
};

void TstImagens::pranchetaTemContornoNaCaixa()
{
    const QImage img = prancheta();
    QCOMPARE(img.size(), QSize(452, 595));
    QCOMPARE(img.pixel(0, 0), Chave);
    QCOMPARE(img.pixel(217, 318), qRgb(157, 201, 221));

    const QRect caixa(QPoint(5, 3), QPoint(446, 591));
    bool lado[4] = {};
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            if (c == Chave)
                continue;
            const QString onde = QStringLiteral("(%1, %2)").arg(x).arg(y);
            QVERIFY2(caixa.contains(x, y), qPrintable(onde));
            lado[0] |= x == caixa.left(), lado[1] |= x == caixa.right();
            lado[2] |= y == caixa.top(), lado[3] |= y == caixa.bottom();
            // An edge pixel blended towards the key would show as a purple fringe.
            const bool borda = img.pixel(x - 1, y) == Chave || img.pixel(x + 1, y) == Chave
                || img.pixel(x, y - 1) == Chave || img.pixel(x, y + 1) == Chave;
            const int distancia = qAbs(qRed(c) - qRed(Chave)) + qAbs(qGreen(c) - qGreen(Chave))
                + qAbs(qBlue(c) - qBlue(Chave));
            QVERIFY2(!borda || distancia >= 40, qPrintable(onde));
        }
    QVERIFY(lado[0] && lado[1] && lado[2] && lado[3]);
}

void TstImagens::pranchetaNaoTemChaveDentro()
{
    // Every key pixel is reached from the corner: no hole inside the clipboard.
    const QImage img = prancheta();
    std::vector<bool> visto(size_t(img.width()) * img.height());
    std::vector<QPoint> pilha{{0, 0}};
    visto[0] = true;
    qsizetype alcancados = 0;
    while (!pilha.empty()) {
        const QPoint p = pilha.back();
        pilha.pop_back();
        ++alcancados;
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + d;
            if (!img.rect().contains(q) || img.pixel(q) != Chave)
                continue;
            const size_t i = size_t(q.y()) * img.width() + q.x();
            if (!visto[i]) {
                visto[i] = true;
                pilha.push_back(q);
            }
        }
    }
    qsizetype chaves = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            chaves += img.pixel(x, y) == Chave;
    QCOMPARE(alcancados, chaves);
}

void TstImagens::demaisImagensCarregam_data()
{
    QTest::addColumn<QByteArray>("nome");
    QTest::addColumn<QSize>("tamanho");
    QTest::newRow("icone") << QByteArray(Imagens::Icone) << QSize(32, 32);
    QTest::newRow("lixeira") << QByteArray(Imagens::Lixeira) << QSize(32, 32);
    QTest::newRow("caderno") << QByteArray(Imagens::Caderno) << QSize(32, 32);
    QTest::newRow("pagina") << QByteArray(Imagens::Pagina) << QSize(32, 32);
    QTest::newRow("fechar") << QByteArray(Imagens::Fechar) << QSize(32, 32);
    QTest::newRow("check") << QByteArray(Imagens::Check) << QSize(36, 34);
    QTest::newRow("mao") << QByteArray(Imagens::Mao) << QSize(32, 32);
    QTest::newRow("logo1") << QByteArray(Imagens::Logo1) << QSize(160, 100);
    QTest::newRow("logo2") << QByteArray(Imagens::Logo2) << QSize(160, 100);
}

void TstImagens::demaisImagensCarregam()
{
    QFETCH(QByteArray, nome);
    QFETCH(QSize, tamanho);
    const QImage img = Imagens::Ler(nome.constData());
    QCOMPARE(img.size(), tamanho);
    QVERIFY(img.hasAlphaChannel());
}

void TstImagens::maoTemPontaNoHotspot()
{
    // The click lands where the finger points: an opaque outline pixel.
    const QImage mao = Imagens::Ler(Imagens::Mao);
    QCOMPARE(qAlpha(mao.pixel(Imagens::MaoHotX, Imagens::MaoHotY)), 255);
    QCOMPARE(qGray(mao.pixel(Imagens::MaoHotX, Imagens::MaoHotY)), 0);
}

QTEST_MAIN(TstImagens)
#include "tst_imagens.moc"

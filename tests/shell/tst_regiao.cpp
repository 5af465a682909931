// The window's outline from the board picture, and which presses on the board move the window.
#include "apoio/Apoio.h"
#include "assets/Imagens.h"
#include "shell/Prancheta.h"

#include <QSignalSpy>
#include <QtTest>

class TstRegiao : public QObject
{
    Q_OBJECT
private slots:
    void regiaoDeFigurasPequenas_data();
    void regiaoDeFigurasPequenas();
    void contornoCoincideComAPranchetaPintada_data();
    void contornoCoincideComAPranchetaPintada();
    void soAPranchetaNuaMoveAJanela();
};

namespace {

// One character a pixel; the colour of each character is its own, so the top-left one decides
// what is transparent.
QImage Figura(const QStringList& linhas)
{
    QImage img(int(linhas.first().size()), int(linhas.size()), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(linhas[y][x].unicode(), 7, 7));
    return img;
}

QRegion Retangulos(const QList<QRect>& retangulos)
{
    QRegion r;
    for (const QRect& q : retangulos)
        r += q;
    return r;
}

} // namespace

void TstRegiao::regiaoDeFigurasPequenas_data()
{
    QTest::addColumn<QStringList>("figura");
    QTest::addColumn<QRegion>("esperada");
    QTest::newRow("linhas terminam opacas")
        << QStringList { "..##", ".###", "####" } << Retangulos({ { 2, 0, 2, 1 }, { 1, 1, 3, 1 }, { 0, 2, 4, 1 } });
    // A row that ends inside a run does not carry it into the next row's first pixels.
    QTest::newRow("nada passa de uma linha a outra")
        << QStringList { "..##", "#...", "...." } << Retangulos({ { 2, 0, 2, 1 }, { 0, 1, 1, 1 } });
    QTest::newRow("buraco dentro") << QStringList { ".....", ".###.", ".#.#.", ".###.", "....." }
                                   << Retangulos({ { 1, 1, 3, 1 }, { 1, 2, 1, 1 }, { 3, 2, 1, 1 }, { 1, 3, 3, 1 } });
    QTest::newRow("um pixel") << QStringList { "...", ".#.", "..." } << Retangulos({ { 1, 1, 1, 1 } });
    QTest::newRow("cores diferentes, um trecho") << QStringList { ".abc." } << Retangulos({ { 1, 0, 3, 1 } });
    QTest::newRow("a cor do canto vale em toda parte")
        << QStringList { "#..#", "#.#.", "####" } << Retangulos({ { 1, 0, 2, 1 }, { 1, 1, 1, 1 }, { 3, 1, 1, 1 } });
    QTest::newRow("uma cor só") << QStringList { "xxx", "xxx" } << QRegion();
}

void TstRegiao::regiaoDeFigurasPequenas()
{
    QFETCH(QStringList, figura);
    QFETCH(QRegion, esperada);
    const QRegion regiao = Prancheta::CriarRegiao(Figura(figura));
    QCOMPARE(regiao, esperada);
    QCOMPARE(regiao.isEmpty(), esperada.isEmpty());
}

void TstRegiao::contornoCoincideComAPranchetaPintada_data()
{
    QTest::addColumn<qreal>("densidade");
    for (qreal d : { 1.0, 1.25, 1.5, 1.75, 2.0 })
        QTest::addRow("%g", d) << d;
}

void TstRegiao::contornoCoincideComAPranchetaPintada()
{
    // The board as painted for a screen of each density against the outline the window system gets:
    // no pixel of the surroundings inside it, no pixel of the clipboard outside.
    QFETCH(qreal, densidade);
    BancoDeTeste banco;
    Prancheta p;
    QVERIFY(p.Form_Load());
    p.AjustarDensidade(densidade);
    const QRegion contorno = p.ContornoNativo();
    const QRgb fundo = qRgb(0, 255, 0);
    QImage tela(qCeil(p.width() * densidade), qCeil(p.height() * densidade), QImage::Format_RGB32);
    tela.fill(fundo);
    tela.setDevicePixelRatio(densidade);
    p.render(&tela, {}, {}, QWidget::DrawChildren | QWidget::IgnoreMask);
    for (int y = 0; y < tela.height(); ++y)
        for (int x = 0; x < tela.width(); ++x) {
            const QRgb c = tela.pixel(x, y);
            const bool fora = c == fundo || c == Imagens::Chave;
            if (contorno.contains(QPoint(x, y)) == fora)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
        }
    // Here, with no window system to take it, the same outline is Qt's mask.
    if (densidade == 1)
        QCOMPARE(p.mask(), contorno);
}

void TstRegiao::soAPranchetaNuaMoveAJanela()
{
    BancoDeTeste banco;
    Prancheta p;
    QVERIFY(p.Form_Load());
    p.show();
    QVERIFY(QTest::qWaitForWindowExposed(&p));
    QSignalSpy pressoes(p.PicPrancheta, &CaixaImagem::MouseDown);
    // The controls' presses are theirs, even those a control leaves unused.
    QTest::mousePress(p.CmdSair, Qt::LeftButton);
    QTest::mouseRelease(p.CmdSair, Qt::LeftButton);
    QTest::mousePress(p.Linha[3], Qt::RightButton);
    QTest::mousePress(p.Vek1, Qt::MiddleButton);
    QTest::mouseDClick(p.ImgLinha[0], Qt::LeftButton);
    QCOMPARE(pressoes.size(), 0);
    QVERIFY(p.isVisible());
    // The bare picture takes any button.
    for (Qt::MouseButton botao : { Qt::LeftButton, Qt::RightButton, Qt::MiddleButton })
        QTest::mousePress(p.PicPrancheta, botao, {}, QPoint(10, 300));
    QCOMPARE(pressoes.size(), 3);
}

QTEST_MAIN(TstRegiao)
#include "tst_regiao.moc"

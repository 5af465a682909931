#include "shell/Controles.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>
#include <QTranslator>
#include <QValidator>
#include <cmath>
#include <utility>

QFont fonte(const char* familia, double pontos, bool negrito, bool italico)
{
    QFont f(QString::fromLatin1(familia));
    // Sizes were chosen at 96 dots per inch; a pixel size keeps the text inside its control.
    f.setPixelSize(std::max(1, int(std::lround(pontos * 96.0 / 72.0))));
    f.setBold(negrito);
    f.setItalic(italico);
    return f;
}

namespace {

// Not at polish: the toolkit polishes every new widget as soon as the event loop runs.
class FonteAoMostrar : public QObject
{
public:
    FonteAoMostrar(QWidget* controle, const QFont& fonte)
        : QObject(controle)
        , m_fonte(fonte)
    {
        controle->installEventFilter(this);
    }

    bool eventFilter(QObject* alvo, QEvent* e) override
    {
        if (e->type() == QEvent::Show) {
            alvo->removeEventFilter(this);
            static_cast<QWidget*>(alvo)->setFont(m_fonte);
            deleteLater();
        }
        return false;
    }

private:
    QFont m_fonte;
};

} // namespace

void definirFonteAoMostrar(QWidget* controle, const QFont& fonte) { new FonteAoMostrar(controle, fonte); }

void substituirFontes()
{
    struct Par
    {
        const char* desenho;
        const char* aqui;
    };
    static constexpr Par pares[] = {
        { "Arial", "Liberation Sans" },
        { "Times New Roman", "Liberation Serif" },
        { "MS Sans Serif", "Liberation Sans" },
        { "Tahoma", "DejaVu Sans" },
        { "Small Fonts", "DejaVu Sans" },
        { "Arial Black", "DejaVu Sans" },
    };
    for (const Par& p : pares)
        QFont::insertSubstitution(QString::fromLatin1(p.desenho), QString::fromLatin1(p.aqui));
}

void falarPortugues()
{
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    // Embedded uncompressed, so the catalogue is read in place, not copied.
    auto* traducao = new QTranslator(QCoreApplication::instance());
    if (traducao->load(QStringLiteral(":/traducoes/qtbase_pt_BR.qm")))
        QCoreApplication::installTranslator(traducao);
}

namespace {
void manterCoresQuandoDesabilitado(QWidget* w)
{
    // A disabled board keeps its looks: only the panel over it is meant to stand out.
    QPalette p = w->palette();
    for (auto papel : { QPalette::WindowText, QPalette::Window, QPalette::Text })
        p.setColor(QPalette::Disabled, papel, p.color(QPalette::Active, papel));
    w->setPalette(p);
}
} // namespace

Rotulo::Rotulo(QWidget* pai)
    : QLabel(pai)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    setFrameShadow(QFrame::Plain);
    manterCoresQuandoDesabilitado(this);
}

void Rotulo::definirBorda(bool simples)
{
    setFrameShape(simples ? QFrame::Box : QFrame::NoFrame);
    setLineWidth(1);
}

void Rotulo::definirCorFundo(QColor cor)
{
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::Window, cor);
    p.setColor(QPalette::Inactive, QPalette::Window, cor);
    p.setColor(QPalette::Disabled, QPalette::Window, cor);
    setPalette(p);
}

void Rotulo::definirCorTexto(QColor cor)
{
    QPalette p = palette();
    for (auto grupo : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        p.setColor(grupo, QPalette::WindowText, cor);
    setPalette(p);
}

namespace {

// Whether a release ends a click of the left button on `w`. Qt gives a double-click as a click,
// then a double-click press and its release: that release ends the double-click, not a second click.
bool soltouUmClique(QWidget* w, const QMouseEvent* e, bool& duplo)
{
    const bool eraDuplo = std::exchange(duplo, false);
    return !eraDuplo && e->button() == Qt::LeftButton && w->rect().contains(e->position().toPoint());
}

// Space or Enter on a control the keyboard reached acts as its click; a key held down acts once.
bool teclaDeClique(const QKeyEvent* e)
{
    const int k = e->key();
    return !e->isAutoRepeat() && (k == Qt::Key_Space || k == Qt::Key_Return || k == Qt::Key_Enter);
}

} // namespace

void desenharFoco(QPainter& p, const QRect& controle)
{
    const QRect quadro = controle.adjusted(1, 1, -2, -2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(quadro);
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(quadro);
}

void Rotulo::paintEvent(QPaintEvent* e)
{
    QLabel::paintEvent(e);
    if (hasFocus()) {
        QPainter p(this);
        desenharFoco(p, rect());
    }
}

void Rotulo::mouseReleaseEvent(QMouseEvent* e)
{
    QLabel::mouseReleaseEvent(e);
    if (soltouUmClique(this, e, m_duplo))
        emit clicado();
}

void Rotulo::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLabel::mouseDoubleClickEvent(e);
    m_duplo = true;
    if (e->button() == Qt::LeftButton)
        emit duploClique();
}

void desenharFigura(QPainter& p, const QRect& alvo, const QImage& figura)
{
    const qreal d = figura.devicePixelRatio();
    const QTransform paraDispositivo = p.worldTransform().inverted() * p.deviceTransform();
    const QSize pixels(qRound(alvo.width() * d), qRound(alvo.height() * d));
    if (d == 1 || paraDispositivo.type() > QTransform::TxScale || !qFuzzyCompare(paraDispositivo.m11(), d)
        || !qFuzzyCompare(paraDispositivo.m22(), d) || figura.size() != pixels) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(alvo, figura);
        return;
    }
    const QPointF canto = paraDispositivo.map(QPointF(alvo.topLeft()));
    p.save();
    p.setWorldTransform(QTransform::fromTranslate(qRound(canto.x()), qRound(canto.y())) * paraDispositivo.inverted());
    // Source and target of one size, in device pixels: copied, not scaled.
    const QRectF inteira(figura.rect());
    p.drawImage(inteira, figura, inteira);
    p.restore();
}

Imagem::Imagem(QWidget* pai)
    : QWidget(pai)
{
}

void Imagem::definirFigura(const QPixmap& figura)
{
    m_figura = figura;
    update();
}

void Imagem::definirBorda(bool simples)
{
    m_borda = simples;
    update();
}

void Imagem::paintEvent(QPaintEvent*)
{
    if (m_figura.isNull() && !m_borda && !hasFocus())
        return;
    QPainter p(this);
    if (!m_figura.isNull()) {
        if (m_figura.devicePixelRatio() == 1) {
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawPixmap(rect(), m_figura);
        } else {
            desenharFigura(p, rect(), m_figura.toImage());
        }
    }
    if (m_borda) {
        p.setPen(palette().color(QPalette::Active, QPalette::WindowText));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (hasFocus())
        desenharFoco(p, rect());
}

void Imagem::keyPressEvent(QKeyEvent* e)
{
    if (teclaDeClique(e))
        emit clicado();
    else
        QWidget::keyPressEvent(e);
}

void Imagem::mouseReleaseEvent(QMouseEvent* e)
{
    if (soltouUmClique(this, e, m_duplo))
        emit clicado();
}

void Imagem::mouseDoubleClickEvent(QMouseEvent*) { m_duplo = true; }

CaixaImagem::CaixaImagem(QWidget* pai)
    : QWidget(pai)
{
}

void CaixaImagem::definirImagem(const QImage& imagem)
{
    m_imagem = imagem;
    update();
}

void CaixaImagem::paintEvent(QPaintEvent* e)
{
    if (m_imagem.isNull())
        return;
    QPainter p(this);
    if (m_imagem.devicePixelRatio() == 1)
        p.drawImage(e->rect(), m_imagem, e->rect());
    else
        desenharFigura(p, QRect(QPoint(0, 0), m_imagem.deviceIndependentSize().toSize()), m_imagem);
}

void CaixaImagem::mousePressEvent(QMouseEvent* e) { emit pressionada(e->button(), e->position().toPoint()); }

Painel::Painel(QWidget* pai)
    : QFrame(pai)
{
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0, 192, 0));
    setPalette(p);
}

Traco::Traco(QWidget* pai, QPoint a, QPoint b, int espessura)
    : QWidget(pai)
{
    // A line is drawn centred on its coordinates; the panel's edge cuts what lies outside.
    const QRect r = QRect(a, b).normalized();
    if (a.x() == b.x())
        setGeometry(a.x() - espessura / 2, r.top(), espessura, r.height() + 1);
    else
        setGeometry(r.left(), a.y() - espessura / 2, r.width() + 1, espessura);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0, 0, 255));
    setPalette(p);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

int caractereDaTecla(const QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        return 13;
    const QString t = e->text();
    return t.isEmpty() ? -1 : t.at(0).unicode();
}

bool tirarInarmazenaveis(QString& texto, int* cursor)
{
    bool tirou = false;
    for (qsizetype i = 0; i < texto.size();) {
        const QChar c = texto.at(i);
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto.at(i + 1).isLowSurrogate()) {
            i += 2;
        } else if (c.isNull() || c.isSurrogate()) {
            texto.remove(i, 1);
            if (cursor && *cursor > i)
                --*cursor;
            tirou = true;
        } else {
            ++i;
        }
    }
    return tirou;
}

namespace {

// Every change of a one-line box passes here, typed, pasted or dropped, after the length limit.
class SoArmazenavel : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& texto, int& cursor) const override
    {
        tirarInarmazenaveis(texto, &cursor);
        return Acceptable;
    }
};

} // namespace

CaixaTexto::CaixaTexto(QWidget* pai)
    : QLineEdit(pai)
{
    setValidator(new SoArmazenavel(this));
}

void CaixaTexto::keyPressEvent(QKeyEvent* e)
{
    if (const int c = caractereDaTecla(e); c >= 0)
        emit teclaDigitada(c);
    QLineEdit::keyPressEvent(e);
}

CaixaTextoMulti::CaixaTextoMulti(QWidget* pai)
    : QPlainTextEdit(pai)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
}

void CaixaTextoMulti::keyPressEvent(QKeyEvent* e)
{
    const int c = caractereDaTecla(e);
    if (c >= 0)
        emit teclaDigitada(c);
    // Enter here writes the task; typed into the box as well, it would stay there as a stray line
    // break when the write stops at a message, and be stored with the next one.
    if (c != 13)
        QPlainTextEdit::keyPressEvent(e);
}

QString CaixaTextoMulti::text() const
{
    // toPlainText would turn no-break spaces into plain ones and line separators into line feeds.
    QString texto = document()->toRawText();
    return texto.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

void CaixaTextoMulti::insertFromMimeData(const QMimeData* origem)
{
    QString texto = origem->hasText() ? origem->text() : QString();
    if (!tirarInarmazenaveis(texto)) {
        QPlainTextEdit::insertFromMimeData(origem);
        return;
    }
    QMimeData limpo;
    limpo.setText(texto);
    QPlainTextEdit::insertFromMimeData(&limpo);
}

Lista::Lista(QWidget* pai)
    : QComboBox(pai)
{
}

void Lista::changeEvent(QEvent* e)
{
    // The toolkit's list box makes its drop-down list (a list view and its model machinery) to hand
    // it a new font, long before the list is ever opened. Made later, the list takes the box's font
    // as its child anyway.
    const bool semLista = !findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    if (e->type() == QEvent::FontChange && semLista)
        QWidget::changeEvent(e);
    else
        QComboBox::changeEvent(e);
}

void Lista::keyPressEvent(QKeyEvent* e)
{
    if (const int c = caractereDaTecla(e); c >= 0)
        emit teclaDigitada(c);
    QComboBox::keyPressEvent(e);
}

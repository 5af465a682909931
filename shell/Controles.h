#pragma once
// The kinds of control the board is built from. Each is a thin Qt widget that offers what the
// board's handlers expect of it: a border, an opaque or transparent background, a picture,
// click and key events.
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>

class QPainter;
#include <QWidget>

// Positions and sizes are kept in twips; 15 twips are one logical pixel.
constexpr int Px(int twips) { return (twips * 2 + (twips >= 0 ? 15 : -15)) / 30; }
QRect RetanguloTwips(int esquerda, int topo, int largura, int altura);

// A font by the family name the board was designed with and its size in points.
QFont Fonte(const char* familia, double pontos, bool negrito = false, bool italico = false);
// Gives `controle` its font when it is first about to be shown. A text box lays its text out as soon
// as it gets a font, which loads the font's face and the shaping tables; one in a hidden panel
// need not pay for that at start-up.
void DefinirFonteAoMostrar(QWidget* controle, const QFont& fonte);
// Maps the design's family names to the fonts this desktop has; called once at start-up.
void SubstituirFontes();
// The toolkit's own texts (text box and scroll bar menus, standard buttons) in Portuguese (Brazil),
// whatever the session's language; called once, after the application is made.
void FalarPortugues();

class Rotulo : public QLabel
{
    Q_OBJECT
public:
    explicit Rotulo(QWidget* pai);
    void DefinirBorda(bool simples);
    bool Borda() const { return frameShape() != QFrame::NoFrame; }
    void DefinirOpaco(bool opaco) { setAutoFillBackground(opaco); }
    bool Opaco() const { return autoFillBackground(); }
    void DefinirCorFundo(QColor cor);
    QColor CorFundo() const { return palette().color(QPalette::Window); }
    void DefinirCorTexto(QColor cor);

signals:
    void Click();
    void DblClick();

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    bool m_duplo = false; // the press under way is a double-click's
};

// Where a picture was drawn for the painter's density, draws it pixel for pixel from the device pixel
// nearest to `canto`: not resampled half a pixel off at a fractional density. Elsewhere scales it
// into `alvo`.
void DesenharFigura(QPainter& p, const QRect& alvo, const QImage& figura);

class Imagem : public QWidget
{
    Q_OBJECT
public:
    explicit Imagem(QWidget* pai);
    void DefinirPicture(const QPixmap& figura);
    // The picture this control was made with, drawn anew for another density.
    void DefinirRecurso(const char* recurso) { m_recurso = recurso; }
    const char* Recurso() const { return m_recurso; }
    const QPixmap& Picture() const { return m_figura; }
    bool TemPicture() const { return !m_figura.isNull(); }
    void DefinirBorda(bool simples);
    bool Borda() const { return m_borda; }

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    QPixmap m_figura;
    const char* m_recurso = nullptr;
    bool m_borda = false;
    bool m_duplo = false;
};

// A picture box: a picture at its natural size, mouse-down (the button and where), and the keyboard focus.
class CaixaImagem : public QWidget
{
    Q_OBJECT
public:
    explicit CaixaImagem(QWidget* pai);
    void DefinirImagem(const QImage& imagem);
    const QImage& Image() const { return m_imagem; }

signals:
    void MouseDown(Qt::MouseButton botao, QPoint ponto);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    QImage m_imagem;
};

// A panel with the green body the board's panels share.
class Painel : public QFrame
{
    Q_OBJECT
public:
    explicit Painel(QWidget* pai);
};

// A straight line of a panel.
class Traco : public QWidget
{
    Q_OBJECT
public:
    Traco(QWidget* pai, int x1, int y1, int x2, int y2, int espessura);
};

// Removes what a text column cannot hold: NUL, which would end the statement's text, and half of a
// character whose other half is missing (a full box cuts a pasted or typed emoji in two). Moves the
// cursor back over what went before it. Tells whether anything was removed.
bool TirarInarmazenaveis(QString& texto, int* cursor = nullptr);

// Text boxes and lists report the character of a key before the key takes effect. The text boxes
// take in only what the database can store.
class CaixaTexto : public QLineEdit
{
    Q_OBJECT
public:
    explicit CaixaTexto(QWidget* pai);
signals:
    void KeyPress(int codigo);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

// Its Enter is the panel's (it writes the task), never a line break of its own.
class CaixaTextoMulti : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CaixaTextoMulti(QWidget* pai);
    QString text() const;
    void setText(const QString& t) { setPlainText(t); }
signals:
    void KeyPress(int codigo);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void insertFromMimeData(const QMimeData* origem) override;
};

class Lista : public QComboBox
{
    Q_OBJECT
public:
    explicit Lista(QWidget* pai);
signals:
    void KeyPress(int codigo);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;
};

// The character code of a key press, or -1 for keys that type nothing.
int CodigoDaTecla(const QKeyEvent* e);

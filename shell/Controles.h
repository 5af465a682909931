#pragma once
// The kinds of control the board is built from: thin Qt widgets with what the board asks of its
// controls (a border, an opaque or transparent background, a picture, a click, the character of a
// key before it takes effect).
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QWidget>

class QPainter;

// A font by the family name the board was designed with and its size in points.
QFont fonte(const char* familia, double pontos, bool negrito = false, bool italico = false);
// Gives `controle` its font when it is first about to be shown. A text box lays its text out as soon
// as it gets a font, which loads the font's face and the shaping tables; one in a hidden panel
// need not pay for that at start-up.
void definirFonteAoMostrar(QWidget* controle, const QFont& fonte);
// Maps the design's family names to the fonts this desktop has; called once at start-up.
void substituirFontes();
// The toolkit's own texts (text box and scroll bar menus, standard buttons) in Portuguese (Brazil),
// whatever the session's language; called once, after the application is made.
void falarPortugues();

// Where a picture was drawn for the painter's density, draws it pixel for pixel from the device pixel
// nearest to the target's corner: not resampled half a pixel off at a fractional density. Elsewhere
// scales it into `alvo`.
void desenharFigura(QPainter& p, const QRect& alvo, const QImage& figura);

// The frame a control the keyboard reached draws inside its edge: dotted black over white, seen on
// every priority's colour and on the pictures. Only the keyboard gives these controls the focus.
void desenharFoco(QPainter& p, const QRect& controle);

class Rotulo : public QLabel
{
    Q_OBJECT
public:
    explicit Rotulo(QWidget* pai);
    void definirBorda(bool simples);
    bool temBorda() const { return frameShape() != QFrame::NoFrame; }
    void definirOpaco(bool opaco) { setAutoFillBackground(opaco); }
    bool opaco() const { return autoFillBackground(); }
    void definirCorFundo(QColor cor);
    QColor corFundo() const { return palette().color(QPalette::Window); }
    void definirCorTexto(QColor cor);

signals:
    void clicado();
    void duploClique();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    bool m_duplo = false; // the press under way is a double-click's
};

class Imagem : public QWidget
{
    Q_OBJECT
public:
    explicit Imagem(QWidget* pai);
    void definirFigura(const QPixmap& figura);
    const QPixmap& figura() const { return m_figura; }
    bool temFigura() const { return !m_figura.isNull(); }
    // The picture this control was made with, drawn anew for another density.
    void definirRecurso(const char* recurso) { m_recurso = recurso; }
    const char* recurso() const { return m_recurso; }
    void definirBorda(bool simples);
    bool temBorda() const { return m_borda; }

signals:
    void clicado();

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    QPixmap m_figura;
    const char* m_recurso = nullptr;
    bool m_borda = false;
    bool m_duplo = false;
};

// A picture box: a picture at its natural size, the press of any button, and the keyboard focus.
class CaixaImagem : public QWidget
{
    Q_OBJECT
public:
    explicit CaixaImagem(QWidget* pai);
    void definirImagem(const QImage& imagem);
    const QImage& imagem() const { return m_imagem; }

signals:
    void pressionada(Qt::MouseButton botao, QPoint ponto);

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

// A straight line of a panel, from (x1, y1) to (x2, y2) in logical pixels, centred on them.
class Traco : public QWidget
{
    Q_OBJECT
public:
    Traco(QWidget* pai, QPoint a, QPoint b, int espessura);
};

// Removes what a text column cannot hold: NUL, which would end the statement's text, and half of a
// character whose other half is missing (a full box cuts a pasted or typed emoji in two). Moves the
// cursor back over what went before it. Tells whether anything was removed.
bool tirarInarmazenaveis(QString& texto, int* cursor = nullptr);

// The character a key types (13 for Enter), or -1 for keys that type nothing.
int caractereDaTecla(const QKeyEvent* e);

// Text boxes and lists tell the character of a key before the key takes effect. The text boxes
// take in only what the database can store.
class CaixaTexto : public QLineEdit
{
    Q_OBJECT
public:
    explicit CaixaTexto(QWidget* pai);
signals:
    void teclaDigitada(int caractere);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

// Its Enter belongs to the panel (it writes the task), never a line break of its own.
class CaixaTextoMulti : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit CaixaTextoMulti(QWidget* pai);
    QString text() const;
    void setText(const QString& t) { setPlainText(t); }
signals:
    void teclaDigitada(int caractere);

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
    void teclaDigitada(int caractere);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void changeEvent(QEvent* e) override;
};

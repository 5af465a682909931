#pragma once
// What the test programs share: a fresh database file in a temporary folder, the board made as the
// program makes it, typing as the keyboard does, and answering the message panel as a user does.
#include "data/BancoDeDados.h"
#include "shell/Inventario.h"
#include "shell/Prancheta.h"

#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>

using Inventario::px;

class BancoDeTeste
{
public:
    // A new database with the program's schema.
    BancoDeTeste();

    QString pasta() const { return m_pasta.path(); }
    QString arquivo() const;
    const BancoDeDados& banco() const { return m_banco; }
    // Runs statements on a connection of the test's own (the sqlite3 shell's view of the file).
    void executar(const QString& sql) const;
    // The rows of a query with its codes bound, each row a list of its fields.
    QList<QVariantList> linhas(const QString& sql, const QList<qint64>& valores = {}) const;
    QVariant valor(const QString& sql, const QList<qint64>& valores = {}) const;

private:
    QTemporaryDir m_pasta;
    BancoDeDados m_banco;
};

// The fixture of the board's test programs: a fresh database for every case and a board on it,
// started by the case or, given the set-up statements, before every case.
class ComPrancheta : public QObject
{
    Q_OBJECT
public:
    enum class Espera { Exposta, Ativa }; // the keyboard's cases need the active window
    explicit ComPrancheta(Espera espera = Espera::Exposta, std::optional<QString> preparoDeCadaCaso = {})
        : m_espera(espera)
        , m_preparo(std::move(preparoDeCadaCaso))
    {
    }

protected:
    // Runs the set-up statements, starts the board as the program does and shows it.
    Prancheta& iniciar(const QString& preparo, Prancheta::Montagem montagem = Prancheta::Montagem::Completa);
    Prancheta& p() { return *m_p; }
    // A control of the board, by its name.
    template <class T = QWidget> T* controle(const QString& nome) const
    {
        T* w = m_p->findChild<T*>(nome);
        if (!w)
            qFatal("no control %s", qPrintable(nome));
        return w;
    }
    void clicar(const QString& nome, Qt::MouseButton botao = Qt::LeftButton)
    {
        QTest::mouseClick(controle(nome), botao);
    }

    std::unique_ptr<BancoDeTeste> m_banco;
    std::unique_ptr<Prancheta> m_p;

private slots:
    void init();
    void cleanup();

private:
    Espera m_espera;
    std::optional<QString> m_preparo;
};

// Set-up statements: N tasks of group 1 named t0..t(N-1), in that order on the grid.
QString tarefas(int n);

// The texts of a list's items, in order.
QStringList itens(const QComboBox* lista);

// Types text key by key. QTest::keyClicks knows only Latin-1; an accented letter or an emoji
// arrives as one key press carrying its text.
void digitar(QWidget* w, const QString& texto);

// Presses and releases twice through the window, as the window system gives a double-click: Qt
// then makes of it a click and a double-click, as it does for a user.
void duploClique(QWidget* w);

// What the message panel showed when the answer was given.
struct Resposta
{
    bool clicada = false;
    QString texto;
    bool okay = false, confirmar = false, cancelar = false;
    bool pranchetaHabilitada = true;
    bool tarefaHabilitada = true;
    QSize tamanho;
};

// Once the message panel under `janela` waits for its answer, clicks the control named `botao`.
std::shared_ptr<Resposta> responderQuandoEsperar(QWidget* janela, const QString& botao);

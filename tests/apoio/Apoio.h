#pragma once
// What the test programs share: a fresh database file in a temporary folder, typing as the keyboard
// does, and answering the message panel as a user does.
#include "shell/Prancheta.h"

#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>

class BancoDeTeste
{
public:
    // A new database with the program's schema; the data layer is pointed at its folder and the
    // module-wide variables start as at program start.
    BancoDeTeste();
    ~BancoDeTeste();

    QString Pasta() const { return m_pasta.path(); }
    QString Arquivo() const;
    // Runs statements on a connection of the test's own (the sqlite3 shell's view of the file).
    void Executar(const QString& sql) const;
    // The rows of a query, each row a list of its fields.
    QList<QVariantList> Linhas(const QString& sql) const;
    QVariant Valor(const QString& sql) const;

private:
    QTemporaryDir m_pasta;
};

// The fixture of the board's test programs: a fresh database for every case and a board on it,
// started by the case or, given the set-up statements, before every case.
class ComPrancheta : public QObject
{
    Q_OBJECT
public:
    enum class Espera { Exposta, Ativa }; // the keyboard's cases need the active window
    explicit ComPrancheta(Espera espera = Espera::Exposta, std::optional<QString> preparoDeCadaCaso = {})
        : m_espera(espera), m_preparo(std::move(preparoDeCadaCaso)) {}

protected:
    // Runs the set-up statements, loads the board as the program does at start and shows it.
    Prancheta& Iniciar(const QString& preparo);
    Prancheta& p() { return *m_p; }

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
QString Tarefas(int n);

// Puts the module-wide variables back to their start values.
void ReiniciarModulo();

// The texts of a list's items, in order.
QStringList Itens(const QComboBox* lista);

// Types text key by key. QTest::keyClicks knows only Latin-1; an accented letter or an emoji
// arrives as one key press carrying its text.
void Digitar(QWidget* w, const QString& texto);

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

// Once MensageBox waits for its answer, clicks the control `botao` gives.
std::shared_ptr<Resposta> ResponderQuandoEsperar(Prancheta& p, std::function<QWidget*()> botao);

#pragma once
// A failure of the database file: which file, in which operation, and the engine's cause, told to
// the user in plain Portuguese.
#include <QByteArray>
#include <QString>
#include <exception>

class FalhaBanco : public std::exception
{
public:
    // `codigo` is the engine's extended result code; what failed is worked out from it and from
    // the file as it is now (missing, read-only, on a read-only file system...).
    FalhaBanco(QString arquivo, QString operacao, int codigo, QString causa);
    // A failure the engine did not report itself, told in the program's own words.
    FalhaBanco(QString arquivo, QString operacao, QString descricao, QString causa);

    const QString& arquivo() const { return m_arquivo; }
    // "ao abrir", "ao ler" or "ao gravar".
    const QString& operacao() const { return m_operacao; }
    int codigo() const { return m_codigo; }
    // The engine's own words.
    const QString& causa() const { return m_causa; }
    // What failed, in plain words.
    const QString& descricao() const { return m_descricao; }
    // The whole report: the file, what failed, and the engine's words.
    QString relatorio() const;
    // Why no new file can be made beside `arquivo`: a read-only file system, or a folder that
    // refuses it.
    static QString pastaSemGravacao(const QString& arquivo);
    const char* what() const noexcept override { return m_texto.constData(); }

private:
    QString m_arquivo;
    QString m_operacao;
    int m_codigo = 0;
    QString m_causa;
    QString m_descricao;
    QByteArray m_texto;
};

// Runs `acao`; a failure of the file goes to `aviso` with its report, instead of escaping into the
// toolkit's event loop. Tells whether `acao` ran to its end.
template <class Acao, class Aviso> bool protegido(Acao&& acao, Aviso&& aviso)
{
    try {
        acao();
        return true;
    } catch (const FalhaBanco& falha) {
        aviso(falha.relatorio());
        return false;
    }
}

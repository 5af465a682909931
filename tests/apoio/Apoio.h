#pragma once
// What the tests share: a fresh database file in a temporary folder for every test.
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>

class QComboBox;

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

// Puts the module-wide variables back to their start values.
void ReiniciarModulo();

// The texts of a list's items, in order.
QStringList Itens(const QComboBox* lista);

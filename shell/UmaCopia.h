#pragma once
// One copy of the program per data file, whatever its environment: the lock beside the file marks
// the copy that runs (its folder must be writable anyway, for the file's journal), and a second
// start rings that copy's doorbell, in the user's private runtime folder (never one another user
// can write), to bring its board back.
#include <QLockFile>
#include <QObject>
#include <QString>

class QSocketNotifier;

class UmaCopia : public QObject
{
    Q_OBJECT
public:
    explicit UmaCopia(const QString& arquivoDoBanco, QObject* pai = nullptr);
    ~UmaCopia() override;

    enum class Resultado { Tomada, OutraCopia, Falhou };
    // Takes the lock. A running copy is known by the native lock it holds on the file (where the file
    // system keeps none, by the process the lock names); any other lock, left by a copy that died or
    // copied with its folder, is taken over. Falhou: not for a running copy (a folder that takes no
    // new file, another user's lock...); problema() tells why in plain words.
    Resultado tomar();
    const QString& problema() const { return m_problema; }
    const QString& detalhe() const { return m_detalhe; }
    // Lets go of the lock before the program ends without unwinding (after a failure's report).
    void soltar() { m_trava.unlock(); }

    // Listens for a second start; each ring is told by tocada().
    void atender();
    // Rings the copy that runs; false when none listens.
    bool tocar() const;

    static QString arquivoDaTrava(const QString& arquivoDoBanco);

signals:
    void tocada();

private:
    QString m_banco;
    QLockFile m_trava;
    QString m_problema;
    QString m_detalhe;
    int m_campainha = -1; // the doorbell's listening socket
    QString m_caminhoDaCampainha;
    QSocketNotifier* m_aviso = nullptr;

    Resultado falha(const QString& problema);
};

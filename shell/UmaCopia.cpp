#include "shell/UmaCopia.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// The doorbell's name: one per data file, in the user's private runtime folder.
QString nomeDaCampainha(const QString& banco)
{
    const QByteArray chave = QFileInfo(banco).canonicalFilePath().toUtf8();
    const QString resumo
        = QString::fromLatin1(QCryptographicHash::hash(chave, QCryptographicHash::Sha1).toHex().left(16));
    const QString lugar = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(lugar).filePath(QStringLiteral("fazelas-%1.sock").arg(resumo));
}

} // namespace

QString UmaCopia::arquivoDaTrava(const QString& arquivoDoBanco) { return arquivoDoBanco + QStringLiteral(".trava"); }

UmaCopia::UmaCopia(const QString& arquivoDoBanco, QObject* pai)
    : QObject(pai)
    , m_banco(arquivoDoBanco)
    , m_trava(arquivoDaTrava(arquivoDoBanco))
{
    // Only a lock whose owner has died is stale (QLockFile checks the process); age alone must
    // never hand over the lock of a copy that runs.
    m_trava.setStaleLockTime(0);
}

UmaCopia::~UmaCopia() = default;

UmaCopia::Resultado UmaCopia::tomar()
{
    if (m_trava.tryLock(0))
        return Resultado::Tomada;
    if (m_trava.error() == QLockFile::LockFailedError)
        return Resultado::OutraCopia;
    m_problema = QStringLiteral("a pasta do arquivo não permite gravação");
    m_detalhe = QStringLiteral("não foi possível criar %1").arg(QDir::toNativeSeparators(m_trava.fileName()));
    return Resultado::Falhou;
}

void UmaCopia::atender()
{
    m_campainha = std::make_unique<QLocalServer>();
    const QString nome = nomeDaCampainha(m_banco);
    // Called by the lock's holder only: a socket left by a copy that died is taken over.
    QLocalServer::removeServer(nome);
    connect(m_campainha.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_campainha->nextPendingConnection())
            s->deleteLater();
        emit tocada();
    });
    m_campainha->listen(nome);
}

bool UmaCopia::tocar() const
{
    QLocalSocket s;
    s.connectToServer(nomeDaCampainha(m_banco));
    return s.waitForConnected(1000);
}

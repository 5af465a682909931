#include "shell/UmaCopia.h"

#include "data/FalhaBanco.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStorageInfo>
#include <QSysInfo>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The data file as every copy reaches it, through whatever links lead there.
QString arquivoReal(const QString& banco)
{
    const QFileInfo info(banco);
    const QString real = info.canonicalFilePath();
    return real.isEmpty() ? info.absoluteFilePath() : real;
}

// A folder only this user can write: ours, and closed to the group and to others.
bool pastaParticular(const QString& pasta)
{
    struct stat info;
    return QDir::isAbsolutePath(pasta) && ::stat(QFile::encodeName(pasta).constData(), &info) == 0
        && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The user's private runtime folders a doorbell may be in, the one to listen in first: the
// session's, then the system's for this user, found whatever the environment says; where there is
// neither, one of our own in the temporary folder, as Qt makes it (`criar`: made if missing). A
// folder someone else could write is never one of them.
QStringList pastasParticulares(bool criar)
{
    QStringList pastas;
    const QString sessao = qEnvironmentVariable("XDG_RUNTIME_DIR");
    for (const QString& p : { sessao, QStringLiteral("/run/user/%1").arg(::geteuid()) })
        if (pastaParticular(p) && !pastas.contains(p))
            pastas << p;
    if (!pastas.isEmpty() && criar)
        return pastas;
    const passwd* usuario = ::getpwuid(::geteuid());
    const QString propria = QDir::tempPath() + QStringLiteral("/runtime-")
        + (usuario ? QFile::decodeName(usuario->pw_name) : QString::number(::geteuid()));
    if (criar)
        ::mkdir(QFile::encodeName(propria).constData(), 0700);
    if (pastaParticular(propria) && !pastas.contains(propria))
        pastas << propria;
    return pastas;
}

// Whether someone holds the lock file's native lock, as every copy does while it runs; none where
// the file system keeps no such locks.
std::optional<bool> segura(const QByteArray& arquivo)
{
    const int fd = ::open(arquivo.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const int rc = ::flock(fd, LOCK_EX | LOCK_NB), erro = errno;
    ::close(fd);
    if (rc == 0 || erro == EWOULDBLOCK)
        return rc != 0;
    return std::nullopt;
}

// Whether the process a lock names still runs the program that wrote it (a number may be reused).
bool processoVivo(qint64 pid, const QString& programa)
{
    if (pid <= 0)
        return false;
    char alvo[4096];
    const QByteArray ligacao = "/proc/" + QByteArray::number(pid) + "/exe";
    const ssize_t n = ::readlink(ligacao.constData(), alvo, sizeof alvo);
    if (n <= 0)
        return false;
    // A program replaced while it runs is shown as deleted.
    QByteArray exe(alvo, n);
    if (exe.endsWith(" (deleted)"))
        exe.chop(10);
    return QFileInfo(QFile::decodeName(exe)).fileName() == QFileInfo(programa).fileName();
}

// The doorbell of the copy that runs on `banco`, in a runtime folder.
QString campainhaEm(const QString& pasta, const QString& banco)
{
    const QByteArray resumo = QCryptographicHash::hash(arquivoReal(banco).toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(pasta).filePath(QStringLiteral("fazelas-%1.sock").arg(QString::fromLatin1(resumo.left(16))));
}

// A local socket's address; none where the path is too long for one.
std::optional<sockaddr_un> endereco(const QString& caminho)
{
    const QByteArray nativo = QFile::encodeName(caminho);
    sockaddr_un e {};
    e.sun_family = AF_UNIX;
    if (size_t(nativo.size()) >= sizeof e.sun_path)
        return std::nullopt;
    std::memcpy(e.sun_path, nativo.constData(), size_t(nativo.size()));
    return e;
}

} // namespace

QString UmaCopia::arquivoDaTrava(const QString& arquivoDoBanco)
{
    return arquivoReal(arquivoDoBanco) + QStringLiteral("-trava");
}

UmaCopia::UmaCopia(const QString& arquivoDoBanco, QObject* pai)
    : QObject(pai)
    , m_banco(arquivoDoBanco)
    , m_trava(arquivoDaTrava(arquivoDoBanco))
{
    // Only a lock whose holder has died is stale (QLockFile checks the process); age alone must
    // never hand over the lock of a copy that runs.
    m_trava.setStaleLockTime(0);
}

UmaCopia::~UmaCopia()
{
    if (m_campainha >= 0) {
        delete m_aviso; // before its socket is closed
        ::close(m_campainha);
        ::unlink(QFile::encodeName(m_caminhoDaCampainha).constData());
    }
}

UmaCopia::Resultado UmaCopia::falha(const QString& problema)
{
    m_problema = problema;
    m_detalhe = QDir::toNativeSeparators(m_trava.fileName());
    return Resultado::Falhou;
}

UmaCopia::Resultado UmaCopia::tomar()
{
    const QString nome = QFileInfo(m_trava.fileName()).fileName();
    for (int tentativa = 0; tentativa < 3; ++tentativa) {
        if (m_trava.tryLock(0))
            return Resultado::Tomada;
        if (m_trava.error() == QLockFile::PermissionError)
            return falha(FalhaBanco::pastaSemGravacao(m_trava.fileName()));
        if (m_trava.error() != QLockFile::LockFailedError)
            return falha(QStorageInfo(QFileInfo(m_trava.fileName()).absolutePath()).bytesAvailable() == 0
                    ? QStringLiteral("o disco está cheio")
                    : QStringLiteral("não foi possível criar a trava %1 ao lado dele").arg(nome));
        const QByteArray arquivo = QFile::encodeName(m_trava.fileName());
        struct stat info;
        if (::lstat(arquivo.constData(), &info) != 0)
            continue; // let go of meanwhile
        // Only this user's copies mark the file; anything else in the lock's place was put there.
        if (!S_ISREG(info.st_mode))
            return falha(QStringLiteral("a trava %1, ao lado dele, não é um arquivo comum").arg(nome));
        if (info.st_uid != ::geteuid())
            return falha(QStringLiteral("a trava %1, ao lado dele, pertence a outro usuário, que pode estar com o "
                                        "Fazelas aberto neste arquivo")
                             .arg(nome));
        // An empty one was just made by a copy starting now, which has not yet locked and written it.
        if (info.st_size == 0 && std::abs(std::time(nullptr) - info.st_mtime) < 10)
            return Resultado::OutraCopia;
        // Every copy holds the file's native lock while it runs, on this machine or another; where the
        // file system keeps no such locks, the process the lock names tells.
        qint64 pid = 0;
        QString maquina, programa;
        const bool vivo = m_trava.getLockInfo(&pid, &maquina, &programa) && maquina == QSysInfo::machineHostName()
            && processoVivo(pid, programa);
        if (segura(arquivo).value_or(vivo))
            return Resultado::OutraCopia;
        // Left by a copy that ended without taking it away, or copied with the folder: taken over,
        // whatever it says.
        if (!m_trava.removeStaleLockFile() && ::lstat(arquivo.constData(), &info) == 0)
            return falha(QFileInfo(QFileInfo(m_trava.fileName()).absolutePath()).isWritable()
                    ? QStringLiteral("a trava %1, ao lado dele, ficou de um Fazelas que terminou e não pôde ser "
                                     "apagada")
                          .arg(nome)
                    : FalhaBanco::pastaSemGravacao(m_trava.fileName()));
    }
    return Resultado::OutraCopia;
}

void UmaCopia::atender()
{
    // A plain local socket: the toolkit's own would bring its network library and what that loads
    // into every start for one ring.
    const QStringList pastas = pastasParticulares(true);
    const QString caminho = pastas.isEmpty() ? QString() : campainhaEm(pastas.first(), m_banco);
    const std::optional<sockaddr_un> e = endereco(caminho);
    if (!e)
        return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // Called by the lock's holder only: a socket left by a copy that died is taken over.
    ::unlink(e->sun_path);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&*e), sizeof *e) != 0 || ::listen(fd, 8) != 0) {
        if (fd >= 0)
            ::close(fd);
        return;
    }
    m_campainha = fd;
    m_caminhoDaCampainha = caminho;
    // Nothing is read or written: there is nothing a stranger's connection could say.
    m_aviso = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_aviso, &QSocketNotifier::activated, this, [this] {
        for (int c; (c = ::accept4(m_campainha, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;)
            ::close(c);
        emit tocada();
    });
}

bool UmaCopia::tocar() const
{
    // The running copy may have been started in another environment: every private runtime folder
    // of the user is tried. A local connection is made, or refused, at once; a copy too busy to
    // take it is given a second.
    for (const QString& pasta : pastasParticulares(false)) {
        const std::optional<sockaddr_un> e = endereco(campainhaEm(pasta, m_banco));
        const int fd = e ? ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0) : -1;
        if (fd < 0)
            continue;
        const timeval prazo { 1, 0 };
        ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &prazo, sizeof prazo);
        const bool atendeu = ::connect(fd, reinterpret_cast<const sockaddr*>(&*e), sizeof *e) == 0;
        ::close(fd);
        if (atendeu)
            return true;
    }
    return false;
}

#include "apoio/ArquivoObservado.h"

#include <sqlite3.h>

namespace {

// The wrapped file: the system's follows this header.
struct Arquivo
{
    sqlite3_file base;
    sqlite3_file* real;
    ArquivoObservado* dono;
    bool banco;
};

sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<Arquivo*>(f)->real; }
ArquivoObservado* dono(sqlite3_vfs* vfs) { return static_cast<ArquivoObservado*>(vfs->pAppData); }

int liberar(sqlite3_file* f, int nivel)
{
    const int rc = real(f)->pMethods->xUnlock(real(f), nivel);
    const Arquivo* a = reinterpret_cast<Arquivo*>(f);
    if (rc == SQLITE_OK && nivel == SQLITE_LOCK_NONE && a->banco && a->dono->aoLiberar)
        a->dono->aoLiberar();
    return rc;
}

constexpr sqlite3_io_methods Metodos = { 1, [](sqlite3_file* f) { return real(f)->pMethods->xClose(real(f)); },
    [](sqlite3_file* f, void* b, int n, sqlite3_int64 o) { return real(f)->pMethods->xRead(real(f), b, n, o); },
    [](sqlite3_file* f, const void* b, int n, sqlite3_int64 o) { return real(f)->pMethods->xWrite(real(f), b, n, o); },
    [](sqlite3_file* f, sqlite3_int64 n) { return real(f)->pMethods->xTruncate(real(f), n); },
    [](sqlite3_file* f, int x) { return real(f)->pMethods->xSync(real(f), x); },
    [](sqlite3_file* f, sqlite3_int64* n) { return real(f)->pMethods->xFileSize(real(f), n); },
    [](sqlite3_file* f, int n) { return real(f)->pMethods->xLock(real(f), n); }, &liberar,
    [](sqlite3_file* f, int* n) { return real(f)->pMethods->xCheckReservedLock(real(f), n); },
    [](sqlite3_file* f, int op, void* x) { return real(f)->pMethods->xFileControl(real(f), op, x); },
    [](sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); },
    [](sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr };

int abrir(sqlite3_vfs* vfs, sqlite3_filename nome, sqlite3_file* f, int flags, int* saida)
{
    auto* a = reinterpret_cast<Arquivo*>(f);
    a->real = reinterpret_cast<sqlite3_file*>(a + 1);
    a->dono = dono(vfs);
    a->banco = flags & SQLITE_OPEN_MAIN_DB;
    sqlite3_vfs* sistema = sqlite3_vfs_find("unix");
    const int rc = sistema->xOpen(sistema, nome, a->real, flags, saida);
    a->base.pMethods = rc == SQLITE_OK && a->real->pMethods ? &Metodos : nullptr;
    return rc;
}

int apagar(sqlite3_vfs* vfs, const char* nome, int sincronizar)
{
    sqlite3_vfs* sistema = sqlite3_vfs_find("unix");
    const int rc = sistema->xDelete(sistema, nome, sincronizar);
    if (dono(vfs)->aoApagar)
        dono(vfs)->aoApagar(nome, sincronizar != 0);
    return rc;
}

} // namespace

ArquivoObservado::ArquivoObservado()
    : m_vfs(std::make_unique<sqlite3_vfs>())
{
    const sqlite3_vfs* sistema = sqlite3_vfs_find("unix");
    *m_vfs = *sistema;
    m_vfs->pNext = nullptr;
    m_vfs->zName = "fazelas-observado";
    m_vfs->pAppData = this;
    m_vfs->szOsFile = int(sizeof(Arquivo)) + sistema->szOsFile;
    m_vfs->xOpen = &abrir;
    m_vfs->xDelete = &apagar;
    sqlite3_vfs_register(m_vfs.get(), 1);
}

ArquivoObservado::~ArquivoObservado()
{
    sqlite3_vfs_register(sqlite3_vfs_find("unix"), 1);
    sqlite3_vfs_unregister(m_vfs.get());
}

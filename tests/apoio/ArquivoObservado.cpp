#include "apoio/ArquivoObservado.h"

#include <sqlite3.h>

namespace {

ArquivoObservado* atual = nullptr;
sqlite3_vfs* sistema = nullptr;
sqlite3_vfs observado {};

// The wrapped file: the system's follows this header.
struct Arquivo
{
    sqlite3_file base;
    sqlite3_file* real;
    bool banco;
};

sqlite3_file* real(sqlite3_file* f) { return reinterpret_cast<Arquivo*>(f)->real; }

int liberar(sqlite3_file* f, int nivel)
{
    const int rc = real(f)->pMethods->xUnlock(real(f), nivel);
    if (rc == SQLITE_OK && nivel == SQLITE_LOCK_NONE && reinterpret_cast<Arquivo*>(f)->banco && atual
        && atual->aoLiberar)
        atual->aoLiberar();
    return rc;
}

const sqlite3_io_methods* metodos()
{
    static sqlite3_io_methods m;
    m = { 1, [](sqlite3_file* f) { return real(f)->pMethods->xClose(real(f)); },
        [](sqlite3_file* f, void* b, int n, sqlite3_int64 o) { return real(f)->pMethods->xRead(real(f), b, n, o); },
        [](sqlite3_file* f, const void* b, int n, sqlite3_int64 o) {
            return real(f)->pMethods->xWrite(real(f), b, n, o);
        },
        [](sqlite3_file* f, sqlite3_int64 n) { return real(f)->pMethods->xTruncate(real(f), n); },
        [](sqlite3_file* f, int x) { return real(f)->pMethods->xSync(real(f), x); },
        [](sqlite3_file* f, sqlite3_int64* n) { return real(f)->pMethods->xFileSize(real(f), n); },
        [](sqlite3_file* f, int n) { return real(f)->pMethods->xLock(real(f), n); }, &liberar,
        [](sqlite3_file* f, int* n) { return real(f)->pMethods->xCheckReservedLock(real(f), n); },
        [](sqlite3_file* f, int op, void* x) { return real(f)->pMethods->xFileControl(real(f), op, x); },
        [](sqlite3_file* f) { return real(f)->pMethods->xSectorSize(real(f)); },
        [](sqlite3_file* f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }, nullptr, nullptr, nullptr,
        nullptr, nullptr, nullptr };
    return &m;
}

int abrir(sqlite3_vfs*, sqlite3_filename nome, sqlite3_file* f, int flags, int* saida)
{
    auto* a = reinterpret_cast<Arquivo*>(f);
    a->real = reinterpret_cast<sqlite3_file*>(a + 1);
    a->banco = flags & SQLITE_OPEN_MAIN_DB;
    const int rc = sistema->xOpen(sistema, nome, a->real, flags, saida);
    a->base.pMethods = rc == SQLITE_OK && a->real->pMethods ? metodos() : nullptr;
    return rc;
}

int apagar(sqlite3_vfs*, const char* nome, int sincronizar)
{
    const int rc = sistema->xDelete(sistema, nome, sincronizar);
    if (atual && atual->aoApagar)
        atual->aoApagar(nome, sincronizar != 0);
    return rc;
}

} // namespace

ArquivoObservado::ArquivoObservado()
{
    atual = this;
    sistema = sqlite3_vfs_find("unix");
    observado = *sistema;
    observado.zName = "fazelas-observado";
    observado.szOsFile = int(sizeof(Arquivo)) + sistema->szOsFile;
    observado.xOpen = &abrir;
    observado.xDelete = &apagar;
    sqlite3_vfs_register(&observado, 1);
}

ArquivoObservado::~ArquivoObservado()
{
    sqlite3_vfs_register(sistema, 1);
    sqlite3_vfs_unregister(&observado);
    atual = nullptr;
}

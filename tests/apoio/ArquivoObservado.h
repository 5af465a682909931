#pragma once
// Watches what this process's SQLite connections do to their files, at the file level, whatever
// code opened them: while an ArquivoObservado lives, it is the default file layer and hands every
// call on to the system's. A reader that lets the database go (a read's end) and a journal deleted
// at a commit are told to the test.
#include <functional>
#include <memory>

struct sqlite3_vfs;

class ArquivoObservado
{
public:
    ArquivoObservado();
    ~ArquivoObservado();
    ArquivoObservado(const ArquivoObservado&) = delete;
    ArquivoObservado& operator=(const ArquivoObservado&) = delete;

    // A database file's last lock let go.
    std::function<void()> aoLiberar;
    // A file deleted; `pastaSincronizada` tells whether its folder is synced to the disk after.
    std::function<void(const char* arquivo, bool pastaSincronizada)> aoApagar;

private:
    std::unique_ptr<sqlite3_vfs> m_vfs;
};

#include "data/OrdemTexto.h"

#include <sqlite3.h>

#include <cstdint>
#include <algorithm>
#include <cstring>

namespace OrdemTexto {

namespace {

// Base letters of U+00C0..U+00FF; '*' marks signs that are not letters.
constexpr char BaseLatin1[] = "AAAAAAACEEEEIIIIDNOOOOO*OUUUUY*s"
                              "aaaaaaaceeeeiiiidnooooo*ouuuuy*y";

struct Peso
{
    uint32_t primario;   // the letter itself, without case or accent
    uint32_t secundario; // 0 without accent
    uint32_t terciario;  // 0 small, 1 capital
};

// Decodes one UTF-8 code point and moves p past it; malformed bytes stand for themselves.
uint32_t Proximo(const unsigned char*& p, const unsigned char* fim)
{
    const uint32_t c = *p++;
    if (c < 0x80)
        return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    uint32_t cp = c & (0x3F >> extra);
    if (extra == 0 || fim - p < extra)
        return 0xDC00 | c;
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0xDC00 | c;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return cp;
}

Peso Pesar(uint32_t cp)
{
    if (cp < 0x80) {
        if (cp >= 'A' && cp <= 'Z')
            return {cp + 32, 0, 1};
        return {cp, 0, 0};
    }
    if (cp >= 0xC0 && cp <= 0xFF) {
        const char base = BaseLatin1[cp - 0xC0];
        if (base != '*') {
            const bool capital = base >= 'A' && base <= 'Z';
            return {static_cast<uint32_t>(capital ? base + 32 : base), cp, capital ? 1u : 0u};
        }
    }
    return {cp, 0, 0};
}

bool Combinante(uint32_t cp) { return cp >= 0x300 && cp <= 0x36F; }

int Sinal(int64_t d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }

// One letter with the combining accents that follow it; false at the end of the text.
bool Ler(const unsigned char*& p, const unsigned char* fim, Peso& peso)
{
    if (p >= fim)
        return false;
    peso = Pesar(Proximo(p, fim));
    for (const unsigned char* q = p; q < fim;) {
        const uint32_t cp = Proximo(q, fim);
        if (!Combinante(cp))
            break;
        peso.secundario = peso.secundario * 0x400 + cp;
        p = q;
    }
    return true;
}

int CompararSqlite(void*, int na, const void* a, int nb, const void* b)
{
    return Comparar({static_cast<const char*>(a), static_cast<size_t>(na)},
                    {static_cast<const char*>(b), static_cast<size_t>(nb)});
}

} // namespace

int Comparar(std::string_view a, std::string_view b)
{
    auto pa = reinterpret_cast<const unsigned char*>(a.data());
    auto pb = reinterpret_cast<const unsigned char*>(b.data());
    const auto fa = pa + a.size();
    const auto fb = pb + b.size();
    // Letters decide first; the first difference of accent, then of case, only breaks ties.
    int secundario = 0;
    int terciario = 0;
    for (;;) {
        Peso wa{}, wb{};
        const bool temA = Ler(pa, fa, wa);
        const bool temB = Ler(pb, fb, wb);
        if (!temA || !temB) {
            if (temA != temB)
                return temA ? 1 : -1;
            break;
        }
        if (wa.primario != wb.primario)
            return wa.primario < wb.primario ? -1 : 1;
        if (secundario == 0)
            secundario = Sinal(int64_t(wa.secundario) - int64_t(wb.secundario));
        if (terciario == 0)
            terciario = Sinal(int64_t(wa.terciario) - int64_t(wb.terciario));
    }
    if (secundario != 0)
        return secundario;
    if (terciario != 0)
        return terciario;
    const int r = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    return r != 0 ? Sinal(r) : Sinal(int64_t(a.size()) - int64_t(b.size()));
}

int Registrar(sqlite3* db)
{
    return sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, CompararSqlite, nullptr);
}

} // namespace OrdemTexto

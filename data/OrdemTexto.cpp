#include "data/OrdemTexto.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <sqlite3.h>

namespace OrdemTexto {

namespace {

    // Base letters of U+00C0..U+00FF; '*' marks signs that are not letters.
    constexpr char BaseLatin1[] = "AAAAAAACEEEEIIIIDNOOOOO*OUUUUY*s"
                                  "aaaaaaaceeeeiiiidnooooo*ouuuuy*y";

    // ASCII without case.
    constexpr std::array<uint8_t, 128> Minuscula = [] {
        std::array<uint8_t, 128> t {};
        for (int c = 0; c < 128; ++c)
            t[c] = uint8_t(c >= 'A' && c <= 'Z' ? c + 32 : c);
        return t;
    }();

    struct Peso
    {
        uint32_t primario; // the letter itself, without case or accent
        uint32_t secundario; // 0 without accent
        uint32_t terciario; // 0 small, 1 capital
    };

    // Combining accents (U+0300..U+036F) start with one of these two bytes in UTF-8.
    inline bool talvezCombinante(const unsigned char* p, const unsigned char* fim)
    {
        return p < fim && (*p & 0xFE) == 0xCC;
    }

    // Decodes one UTF-8 code point and moves p past it; malformed bytes stand for themselves.
    uint32_t proximo(const unsigned char*& p, const unsigned char* fim)
    {
        const uint32_t c = *p++;
        if (c < 0x80)
            return c;
        // The accented letters of Portuguese, U+00C0..U+00FF, are the common case.
        if (c == 0xC3 && p < fim && (*p & 0xC0) == 0x80)
            return 0xC0 | (*p++ & 0x3F);
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

    Peso pesar(uint32_t cp)
    {
        if (cp < 0x80)
            return { Minuscula[cp], 0, cp >= 'A' && cp <= 'Z' ? 1u : 0u };
        if (cp >= 0xC0 && cp <= 0xFF) {
            const char base = BaseLatin1[cp - 0xC0];
            if (base != '*') {
                const bool capital = base >= 'A' && base <= 'Z';
                return { static_cast<uint32_t>(capital ? base + 32 : base), cp, capital ? 1u : 0u };
            }
        }
        return { cp, 0, 0 };
    }

    int sinal(int64_t d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }

    // One letter with the combining accents that follow it; false at the end of the text.
    bool ler(const unsigned char*& p, const unsigned char* fim, Peso& peso)
    {
        if (p >= fim)
            return false;
        peso = pesar(proximo(p, fim));
        while (talvezCombinante(p, fim)) {
            const unsigned char* q = p;
            const uint32_t cp = proximo(q, fim);
            if (cp < 0x300 || cp > 0x36F)
                break;
            peso.secundario = peso.secundario * 0x400 + cp;
            p = q;
        }
        return true;
    }

    // Where the comparison of two texts can start: their first different byte when it is ASCII in
    // both, else the last ASCII byte they share before it (an accent there belongs to the letter
    // before). Everything ahead of that point is the same letters with the same accents in both.
    size_t inicioComum(const unsigned char* a, const unsigned char* b, size_t n)
    {
        size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            uint64_t x, y;
            std::memcpy(&x, a + i, 8);
            std::memcpy(&y, b + i, 8);
            if (x != y) {
                // The first different byte of the eight, without a loop over them.
                const uint64_t d = x ^ y;
                i += size_t(std::endian::native == std::endian::little ? std::countr_zero(d) : std::countl_zero(d)) / 8;
                break;
            }
        }
        while (i < n && a[i] == b[i])
            ++i;
        if (i < n && a[i] < 0x80 && b[i] < 0x80)
            return i;
        while (i > 0 && a[i - 1] >= 0x80)
            --i;
        return i > 0 ? i - 1 : 0;
    }

    int compararNoSqlite(void*, int na, const void* a, int nb, const void* b)
    {
        return comparar({ static_cast<const char*>(a), static_cast<size_t>(na) },
            { static_cast<const char*>(b), static_cast<size_t>(nb) });
    }

} // namespace

int comparar(std::string_view a, std::string_view b)
{
    auto pa = reinterpret_cast<const unsigned char*>(a.data());
    auto pb = reinterpret_cast<const unsigned char*>(b.data());
    const auto fa = pa + a.size();
    const auto fb = pb + b.size();
    const size_t comum = inicioComum(pa, pb, std::min(a.size(), b.size()));
    pa += comum;
    pb += comum;
    // Letters decide first; the first difference of accent, then of case, only breaks ties.
    int secundario = 0;
    int terciario = 0;
    for (;;) {
        // Plain ASCII letters with no accent after them weigh what they are; most text is this.
        while (pa < fa && pb < fb && (*pa | *pb) < 0x80 && !talvezCombinante(pa + 1, fa)
            && !talvezCombinante(pb + 1, fb)) {
            const unsigned ca = *pa++, cb = *pb++;
            if (ca == cb)
                continue;
            if (Minuscula[ca] != Minuscula[cb])
                return Minuscula[ca] < Minuscula[cb] ? -1 : 1;
            if (terciario == 0)
                terciario = ca < cb ? 1 : -1; // the capital has the smaller code and sorts after
        }
        Peso wa {}, wb {};
        const bool temA = ler(pa, fa, wa);
        const bool temB = ler(pb, fb, wb);
        if (!temA || !temB) {
            if (temA != temB)
                return temA ? 1 : -1;
            break;
        }
        if (wa.primario != wb.primario)
            return wa.primario < wb.primario ? -1 : 1;
        if (secundario == 0)
            secundario = sinal(int64_t(wa.secundario) - int64_t(wb.secundario));
        if (terciario == 0)
            terciario = sinal(int64_t(wa.terciario) - int64_t(wb.terciario));
    }
    if (secundario != 0)
        return secundario;
    if (terciario != 0)
        return terciario;
    const size_t n = std::min(a.size(), b.size());
    const int r = n > 0 ? std::memcmp(a.data(), b.data(), n) : 0;
    return r != 0 ? sinal(r) : sinal(int64_t(a.size()) - int64_t(b.size()));
}

int registrar(sqlite3* db)
{
    return sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, compararNoSqlite, nullptr);
}

} // namespace OrdemTexto

#pragma once
// The grid buffer: every task of the group loaded last, in the order the database gave them.
#include <QString>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

// A task's text as the database holds it, in UTF-8, kept in the grid's text store; it becomes a
// QString only when a row or the editor shows it. A large group is read by the thousands but only
// 23 rows are ever on the screen.
class TextoGrade
{
public:
    TextoGrade() = default;
    // Points at a length followed by the bytes, or at nothing for an empty text.
    explicit TextoGrade(const char* guardado)
        : m_guardado(guardado)
    {
    }
    std::string_view Bytes() const
    {
        if (!m_guardado)
            return {};
        uint32_t n;
        std::memcpy(&n, m_guardado, sizeof n);
        return {m_guardado + sizeof n, n};
    }
    QString Texto() const
    {
        const std::string_view b = Bytes();
        return QString::fromUtf8(b.data(), qsizetype(b.size()));
    }
    operator QString() const { return Texto(); }
    friend bool operator==(const TextoGrade& a, const QString& b) { return a.Texto() == b; }

private:
    const char* m_guardado = nullptr;
};

// The grid's texts, one after another in blocks that never move, so an entry holds one pointer
// to each of its texts; emptied with the grid.
class TextosGrade
{
public:
    TextoGrade Guardar(std::string_view bytes);
    void Limpar();

private:
    static constexpr size_t TamanhoDoBloco = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> m_blocos;
    char* m_livre = nullptr;
    size_t m_restante = 0;
};

struct ItemGrade
{
    int64_t Codigo = 0; // 64-bit, as the file holds it
    TextoGrade Fazela;
    TextoGrade Descricao;
    uint8_t Prioridade = 0;
    bool Executado = false;
};

namespace Modulo {
// A deque grows without copying itself, so a large group never holds two buffers at once.
inline std::deque<ItemGrade> GradeItens;
inline TextosGrade GradeTextos; // what GradeItens' texts point at
inline int32_t QtdItens = 0;
inline uint8_t ProximaLinha = 0; // the row the next appended entry is painted on
inline bool GradeCheia = false;  // all rows painted; later entries are only stored
inline bool GradeIncompleta = false; // only the rows on the screen are loaded yet (start-up)
} // namespace Modulo

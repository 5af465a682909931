#pragma once
// The grid's buffer: every task of the group loaded last, in the order the file gave them, its
// texts kept as the file holds them (UTF-8) and made into toolkit strings only when a row or the
// task panel shows them. A large group is read by the thousands but only 23 rows are on the screen.
#include <QString>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

struct LinhaDeFazela;

// A task's text in the buffer's store: points at its length followed by its bytes, or at nothing
// for an empty text.
class TextoGrade
{
public:
    TextoGrade() = default;
    explicit TextoGrade(const char* guardado)
        : m_guardado(guardado)
    {
    }
    std::string_view bytes() const
    {
        if (!m_guardado)
            return {};
        uint32_t n;
        std::memcpy(&n, m_guardado, sizeof n);
        return { m_guardado + sizeof n, n };
    }
    QString texto() const
    {
        const std::string_view b = bytes();
        return QString::fromUtf8(b.data(), qsizetype(b.size()));
    }

private:
    const char* m_guardado = nullptr;
};

struct ItemGrade
{
    int64_t codigo = 0; // 64-bit, as the file holds it
    TextoGrade nome;
    TextoGrade descricao;
    uint8_t prioridade = 0;
    bool executada = false;
};

class BufferGrade
{
public:
    void limpar();
    // Appends a task, its texts copied once from the engine's bytes.
    void incluir(const LinhaDeFazela& linha);
    qsizetype tamanho() const { return qsizetype(m_itens.size()); }
    const ItemGrade& operator[](qsizetype i) const { return m_itens[size_t(i)]; }
    ItemGrade& operator[](qsizetype i) { return m_itens[size_t(i)]; }

private:
    TextoGrade guardar(std::string_view bytes);

    static constexpr size_t TamanhoDoBloco = 64 * 1024;
    // A deque grows without copying itself, so a large group never holds two buffers at once.
    std::deque<ItemGrade> m_itens;
    // The texts one after another in blocks that never move, so an entry holds one pointer each.
    std::vector<std::unique_ptr<char[]>> m_blocos;
    char* m_livre = nullptr;
    size_t m_restante = 0;
};

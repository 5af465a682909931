#include "grid/BufferGrade.h"

#include "data/BancoDeDados.h"

#include <algorithm>

void BufferGrade::limpar()
{
    std::deque<ItemGrade>().swap(m_itens);
    std::vector<std::unique_ptr<char[]>>().swap(m_blocos);
    m_livre = nullptr;
    m_restante = 0;
}

void BufferGrade::incluir(const LinhaDeFazela& linha)
{
    m_itens.push_back(
        { linha.codigo, guardar(linha.nome), guardar(linha.descricao), uint8_t(linha.prioridade), linha.executada });
}

TextoGrade BufferGrade::guardar(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const uint32_t n = uint32_t(bytes.size());
    const size_t precisa = sizeof n + bytes.size();
    if (precisa > m_restante) {
        const size_t tamanho = std::max(precisa, TamanhoDoBloco);
        m_blocos.push_back(std::make_unique_for_overwrite<char[]>(tamanho));
        m_livre = m_blocos.back().get();
        m_restante = tamanho;
    }
    char* guardado = m_livre;
    std::memcpy(guardado, &n, sizeof n);
    std::memcpy(guardado + sizeof n, bytes.data(), bytes.size());
    m_livre += precisa;
    m_restante -= precisa;
    return TextoGrade(guardado);
}

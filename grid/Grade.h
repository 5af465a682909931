#pragma once
// The grid buffer: every task of the group loaded last, in the order the database gave them.
#include <QString>
#include <cstdint>
#include <vector>

struct ItemGrade
{
    int32_t Codigo = 0;
    QString Fazela;
    QString Descricao;
    uint8_t Prioridade = 0;
    bool Executado = false;
};

namespace Modulo {
inline std::vector<ItemGrade> GradeItens;
inline int32_t QtdItens = 0;
inline uint8_t ProximaLinha = 0; // the row the next appended entry is painted on
inline bool GradeCheia = false;  // all rows painted; later entries are only stored
} // namespace Modulo

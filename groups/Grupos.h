#pragma once
// What the group list's items carry: the group's code before the first " - ".
#include <QString>
#include <cstdint>
#include <optional>

// The code of the group an item names; none for the no-groups item, which has no separator.
inline std::optional<int64_t> CodigoDoItem(const QString& texto)
{
    const qsizetype separador = texto.indexOf(QLatin1String(" - "));
    if (separador < 0)
        return std::nullopt;
    return texto.left(separador).trimmed().toLongLong();
}

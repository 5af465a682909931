#pragma once
// The order in which text columns are sorted: as a Portuguese reader expects, with capitals
// beside small letters and accented letters beside their base letters.
#include <string_view>

struct sqlite3;

namespace OrdemTexto {

// <0, 0 or >0, like strcmp, for two UTF-8 texts.
int comparar(std::string_view a, std::string_view b);

// Replaces the engine's NOCASE order on this connection; the schema declares the text columns
// with it, so the sqlite3 shell keeps working with its own caseless order.
int registrar(sqlite3* db);

} // namespace OrdemTexto

#pragma once
// The module-wide variables every operation shares, and the connection procedures.
#include "data/Banco.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace Modulo {

inline std::shared_ptr<ConexaoBd> Conexao;       // the single connection slot
inline QString ComandoSql;                       // the statement being built and sent
inline std::shared_ptr<RegistrosBd> Registros;     // settings, group list, new group code
inline std::shared_ptr<RegistrosBd> RegistrosGrade; // grid loads only
inline int64_t UltimoGrupo = 0;                  // group remembered at start-up
inline int64_t GrupoAtual = 0;                   // group shown; 0 is none
inline uint8_t MsgBoxResposta = 0;               // answer of the message panel

// The folder that holds the database: the program's own, or a test's.
inline QString PastaDoPrograma;

QString ArquivoBanco();
// A new connection replaces the slot; a result set opened on the one it held keeps reading.
void AbrirConexao();
// Closes the connection in the slot; an empty slot is left alone.
void FecharConexao();

} // namespace Modulo

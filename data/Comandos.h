#pragma once
// Every statement the program sends, built by plain concatenation: numbers as decimal digits,
// user text between apostrophes with each apostrophe doubled.
#include <QString>
#include <cstdint>

namespace Comandos {

QString Dobrar(const QString& texto);

QString LerConfig();
QString GravarUltimoGrupo(int64_t grupo);
QString ListarGrupos();
QString MaiorCodigoGrupo();
QString IncluirGrupo(int64_t codigo, const QString& nome);
QString ExcluirFazelasDoGrupo(int64_t grupo);
QString ExcluirGrupo(int64_t grupo);
QString CarregarGrade(int64_t grupo);
// How many rows CarregarGrade gives for the group.
QString ContarGrade(int64_t grupo);
QString MarcarExecutado(int64_t fazela);
QString DesmarcarExecutado(int64_t fazela);
QString IncluirFazela(int64_t grupo, const QString& nome, const QString& descricao, int prioridade);
QString AlterarFazela(const QString& nome, const QString& descricao, int prioridade, const QString& codigo);
QString ExcluirFazela(const QString& codigo);

} // namespace Comandos

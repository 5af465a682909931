// The task panel: adding, changing and deleting the tasks of the group shown.
#include "data/Comandos.h"
#include "data/Modulo.h"
#include "shell/Prancheta.h"

using namespace Modulo;

void Prancheta::CmdNewFazela_Click() {}
void Prancheta::CmdFazelaIncluir_Click() {}
void Prancheta::CmdFazelaAlterar_Click() {}
void Prancheta::CmdFazelaExcluir_Click() {}
void Prancheta::CmdFazelaSair_Click() {}
void Prancheta::CmbFazelaPrior_KeyPress(int KeyAscii) { Q_UNUSED(KeyAscii); }
void Prancheta::txtFazelaNome_KeyPress(int KeyAscii) { Q_UNUSED(KeyAscii); }
void Prancheta::txtFazelaDescricao_KeyPress(int KeyAscii) { Q_UNUSED(KeyAscii); }

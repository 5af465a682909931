// Adding a group through the group panel, and deleting the current group with its tasks.
#include "data/Comandos.h"
#include "data/Modulo.h"
#include "shell/Prancheta.h"

using namespace Modulo;

void Prancheta::CmdNewGrupo_Click() {}
void Prancheta::CmdGrupoIncluir_Click() {}
void Prancheta::CmdGrupoCancel_Click() {}
void Prancheta::ImgGrupoSair_Click() {}
void Prancheta::txtGrupoGrupo_KeyPress(int KeyAscii) { Q_UNUSED(KeyAscii); }
void Prancheta::CmdDelGrupo_Click() {}

#pragma once
// Which fzldados.mdb is the board. A copy of the program anywhere uses the one beside it: that is
// how a user keeps several boards. The program in the folder the package installs it into, which
// users cannot write, keeps each user's board in their own data folder instead.
#include <QString>

// The folder whose fzldados.mdb is the board of the program lying in `pastaDoPrograma`: the
// user's data folder when that is `pastaInstalada`, the program's own otherwise. The user's data
// folder and a new board in it are made when missing; throws FalhaBanco when they cannot be.
QString pastaDoBanco(const QString& pastaDoPrograma, const QString& pastaInstalada);

// $XDG_DATA_HOME/fazelas, or ~/.local/share/fazelas where that is not an absolute path.
QString pastaDeDadosDoUsuario();

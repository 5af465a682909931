#pragma once
#include <QString>

// Tells the user, in a message window and on standard error, which file failed and how.
void reportarFalha(const QString& relatorio);
// Ends the program at once with a failure status: nothing more is written to the database.
[[noreturn]] void encerrarAposFalha();

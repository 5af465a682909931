#pragma once
// A new, empty board: fzldados.mdb with the tables and the one settings row, as the companion
// command writes it and as the installed program makes each user's board on their first start.
#include <QString>

struct CriacaoDoBanco
{
    enum Resultado { Criado, JaExistia, PastaAusente, SemGravacao, Recusado };
    Resultado resultado;
    QString arquivo; // the file made, or the one found there
    QString detalhe; // for a failure: the system's or the engine's own words
};

// Writes a new fzldados.mdb into the existing folder `pasta`. An existing file is never touched.
CriacaoDoBanco CriarBanco(const QString& pasta);

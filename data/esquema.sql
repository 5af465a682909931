-- Database of the Fazelas board. Plain SQLite: everything here also works in the sqlite3 shell.
-- Text columns use NOCASE: the program replaces it on its own connections with a Portuguese
-- reading order, and the shell falls back to its built-in caseless order. No index may use a
-- text column, since the two orders differ.
CREATE TABLE Config (
  Ultimo_Grupo INTEGER
);
CREATE TABLE Grupo_Fazela (
  Codigo INTEGER NOT NULL PRIMARY KEY,
  Grupo  TEXT COLLATE NOCASE
);
-- AUTOINCREMENT: a deleted task's code is never given to a new task.
CREATE TABLE Fazelas (
  Codigo     INTEGER PRIMARY KEY AUTOINCREMENT,
  Cod_Grupo  INTEGER,
  Fazela     TEXT COLLATE NOCASE,
  Descricao  TEXT COLLATE NOCASE,
  Prioridade INTEGER,
  Executado  TEXT
);
CREATE INDEX Fazelas_Grupo ON Fazelas (Cod_Grupo, Prioridade);
INSERT INTO Config (Ultimo_Grupo) VALUES (NULL);

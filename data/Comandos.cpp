#include "data/Comandos.h"

namespace Comandos {

namespace {
QString Numero(qint64 n) { return QString::number(n); }
} // namespace

QString Dobrar(const QString& texto)
{
    QString r = texto;
    return r.replace(QLatin1Char('\''), QLatin1String("''"));
}

QString LerConfig() { return QStringLiteral("Select * from Config"); }

QString GravarUltimoGrupo(int64_t grupo)
{
    return QStringLiteral("Update Config set Ultimo_Grupo = ") + Numero(grupo);
}

QString ListarGrupos() { return QStringLiteral("Select * from Grupo_Fazela Order By Grupo"); }

QString MaiorCodigoGrupo() { return QStringLiteral("Select max(Codigo) from Grupo_Fazela"); }

QString IncluirGrupo(int64_t codigo, const QString& nome)
{
    return QStringLiteral("Insert Into Grupo_Fazela(Codigo,Grupo) values(") + Numero(codigo) + QStringLiteral(",'")
        + Dobrar(nome) + QStringLiteral("')");
}

QString ExcluirFazelasDoGrupo(int64_t grupo)
{
    return QStringLiteral("Delete from Fazelas Where Cod_Grupo = ") + Numero(grupo);
}

QString ExcluirGrupo(int64_t grupo) { return QStringLiteral("Delete from Grupo_Fazela Where Codigo = ") + Numero(grupo); }

QString CarregarGrade(int64_t grupo)
{
    return QStringLiteral("Select * from Grupo_Fazela Inner Join Fazelas ON Grupo_Fazela.Codigo = Fazelas.Cod_Grupo "
                          "Where Grupo_Fazela.Codigo = ")
        + Numero(grupo) + QStringLiteral(" Order By Fazelas.Prioridade desc, Fazelas.Descricao");
}

QString ContarGrade(int64_t grupo)
{
    return QStringLiteral("Select count(*) from Grupo_Fazela Inner Join Fazelas ON Grupo_Fazela.Codigo = "
                          "Fazelas.Cod_Grupo Where Grupo_Fazela.Codigo = ")
        + Numero(grupo);
}

QString MarcarExecutado(int64_t fazela)
{
    return QStringLiteral("Update Fazelas Set Executado = 'S' Where Codigo = ") + Numero(fazela);
}

QString DesmarcarExecutado(int64_t fazela)
{
    return QStringLiteral("Update Fazelas Set Executado = Null Where Codigo = ") + Numero(fazela);
}

QString IncluirFazela(int64_t grupo, const QString& nome, const QString& descricao, int prioridade)
{
    return QStringLiteral("Insert Into Fazelas(Cod_Grupo,Fazela,Descricao,Prioridade) Values(") + Numero(grupo)
        + QStringLiteral(",'") + Dobrar(nome) + QStringLiteral("','") + Dobrar(descricao) + QStringLiteral("',")
        + Numero(prioridade) + QStringLiteral(")");
}

QString AlterarFazela(const QString& nome, const QString& descricao, int prioridade, const QString& codigo)
{
    return QStringLiteral("Update Fazelas set ") + QStringLiteral(" Fazela = '") + Dobrar(nome) + QStringLiteral("',")
        + QStringLiteral(" Descricao = '") + Dobrar(descricao) + QStringLiteral("',") + QStringLiteral(" Prioridade = ")
        + Numero(prioridade) + QStringLiteral(" Where ") + QStringLiteral(" Codigo = ") + codigo;
}

QString ExcluirFazela(const QString& codigo)
{
    return QStringLiteral("Delete from Fazelas ") + QStringLiteral(" Where ") + QStringLiteral(" Codigo = ") + codigo;
}

} // namespace Comandos

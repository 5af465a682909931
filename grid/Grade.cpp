// The grid: the buffer of the current group's tasks and the rows that show it.
#include "grid/Grade.h"

#include "data/Comandos.h"
#include "data/Modulo.h"
#include "shell/Prancheta.h"

using namespace Modulo;

QString Prancheta::TraduzirCor(uint8_t Prioridade)
{
    switch (Prioridade) {
    case 1:
        return QStringLiteral("16777215");
    case 2:
        return QStringLiteral("16761024");
    case 3:
        return QStringLiteral("8454016");
    case 4:
        return QStringLiteral("8454143");
    case 5:
        return QStringLiteral("8421631");
    default:
        return {};
    }
}

namespace {
// A colour held as one number carries red in its low byte.
QColor CorDoNumero(qint64 n) { return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF)); }
} // namespace

void Prancheta::LimparGrade()
{
    VscGrade->setVisible(false);
    Rotulo* mensagem = Linha[LinhaDaMensagem];
    mensagem->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont f = mensagem->font();
    f.setItalic(false);
    f.setBold(false);
    mensagem->setFont(f);
    ProximaLinha = 0;
    QtdItens = 0;
    GradeCheia = false;
    GradeItens.clear();
    for (Contador = 0; Contador < QtdLinhas; ++Contador) {
        ImgLinha[Contador]->DefinirPicture({});
        ImgLinha[Contador]->DefinirBorda(false);
        Rotulo* l = Linha[Contador];
        l->setText(QString());
        l->DefinirBorda(false);
        l->DefinirOpaco(false);
        l->DefinirCorTexto(palette().color(QPalette::WindowText));
        l->setToolTip(QString());
    }
}

void Prancheta::AlimentarGrade(int32_t Codigo)
{
    LimparGrade();
    if (Codigo <= 0)
        return;
    AbrirConexao();
    RegistrosGrade = std::make_shared<RegistrosBd>();
    ComandoSql = Comandos::CarregarGrade(Codigo);
    RegistrosGrade->Open(ComandoSql, Conexao);
    if (!RegistrosGrade->Eof()) {
        GradeItens.reserve(size_t(RegistrosGrade->Linhas()));
        for (; !RegistrosGrade->Eof(); RegistrosGrade->MoveNext()) {
            const auto campo = [&](const char* nome) { return RegistrosGrade->Campo(QLatin1StringView(nome)); };
            const qint64 prioridade = campo("Prioridade").toLongLong();
            IncluirNaGrade(static_cast<int32_t>(campo("Codigo").toLongLong()), campo("Fazela").toString(),
                           campo("Descricao").toString(),
                           static_cast<uint8_t>(prioridade >= 0 && prioridade <= 5 ? prioridade : 0),
                           campo("Executado").toString());
        }
    } else {
        Rotulo* mensagem = Linha[LinhaDaMensagem];
        mensagem->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        QFont f = mensagem->font();
        f.setItalic(true);
        f.setBold(true);
        mensagem->setFont(f);
        mensagem->setText(QString::fromLatin1(SemFazelas));
    }
    RegistrosGrade->Close();
    FecharConexao();
}

void Prancheta::IncluirNaGrade(int32_t Codigo, const QString& Fazela, const QString& Descricao, uint8_t Prioridade,
                               const QString& Executado)
{
    if (!GradeCheia) {
        Rotulo* l = Linha[ProximaLinha];
        l->setText(QStringLiteral("  ") + Fazela);
        l->setToolTip(Descricao);
        l->DefinirBorda(true);
        ImgLinha[ProximaLinha]->DefinirBorda(true);
        if (Prioridade != 0) {
            l->DefinirOpaco(true);
            l->DefinirCorFundo(CorDoNumero(TraduzirCor(Prioridade).toLongLong()));
        }
        if (!Executado.isEmpty())
            ImgLinha[ProximaLinha]->DefinirPicture(ImagemCheck->Picture());
        ++ProximaLinha;
    }
    GradeItens.push_back({Codigo, Fazela, Descricao, Prioridade, !Executado.isEmpty()});
    ++QtdItens;
    if (QtdItens > QtdLinhas) {
        VscGrade->setVisible(true);
        VscGrade->setMaximum(QtdItens - QtdLinhas);
    }
    if (ProximaLinha == QtdLinhas) {
        GradeCheia = true;
        ProximaLinha = QtdLinhas - 1;
    }
}

void Prancheta::VscGrade_Change() {}
void Prancheta::VscGrade_Scroll() { VscGrade_Change(); }
void Prancheta::ImgLinha_Click(int Index) { Q_UNUSED(Index); }
void Prancheta::Linha_DblClick(int Index) { Q_UNUSED(Index); }

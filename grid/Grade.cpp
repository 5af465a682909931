// The grid: the buffer of the current group's tasks and the rows that show it.
#include "grid/Grade.h"

#include "data/Comandos.h"
#include "data/Modulo.h"
#include "shell/Prancheta.h"

#include <QScopeGuard>

using namespace Modulo;

QString Prancheta::TraduzirCor(uint8_t Prioridade)
{
    if (Prioridade == 1)
        return QStringLiteral("16777215");
    if (Prioridade == 2)
        return QStringLiteral("16761024");
    if (Prioridade == 3)
        return QStringLiteral("8454016");
    if (Prioridade == 4)
        return QStringLiteral("8454143");
    if (Prioridade == 5)
        return QStringLiteral("8421631");
    return {};
}

namespace {

// A colour held as one number carries red in its low byte.
QColor CorDoNumero(qint64 n) { return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF)); }

// Every reload clears the rows and paints them again; setting a palette, frame or font to what
// it already is still costs Qt a pass over the widget, so only real changes reach the widgets.
bool TemCor(const QWidget* w, QPalette::ColorRole papel, QColor cor)
{
    const QPalette& p = w->palette();
    return p.color(QPalette::Active, papel) == cor && p.color(QPalette::Inactive, papel) == cor
        && p.color(QPalette::Disabled, papel) == cor;
}

void Fundo(Rotulo* linha, QColor cor)
{
    if (!TemCor(linha, QPalette::Window, cor))
        linha->DefinirCorFundo(cor);
}

void Borda(Rotulo* linha, bool simples)
{
    if (linha->Borda() != simples)
        linha->DefinirBorda(simples);
}

void Borda(Imagem* marca, bool simples)
{
    if (marca->Borda() != simples)
        marca->DefinirBorda(simples);
}

void Destaque(Rotulo* linha, Qt::Alignment alinhamento, bool destacado)
{
    linha->setAlignment(alinhamento);
    if (linha->font().italic() != destacado || linha->font().bold() != destacado) {
        QFont f = linha->font();
        f.setItalic(destacado);
        f.setBold(destacado);
        linha->setFont(f);
    }
}

// What the grid reads of a task row. Rows the task editor never writes are shown all the same:
// a Null name as an empty one, a Null or unknown priority as none (a transparent row).
uint8_t PrioridadeDoBanco(const QVariant& campo)
{
    bool ok = false;
    const qlonglong p = campo.toLongLong(&ok);
    return ok && p >= 0 && p <= 5 ? uint8_t(p) : 0;
}

} // namespace

void Prancheta::LimparGrade()
{
    VscGrade->setVisible(false);
    {
        // The rows are painted from the first entry on, so the position goes back there with them;
        // a position left beyond the new maximum would move it, and repaint the rows, mid-load.
        const QSignalBlocker calado(VscGrade);
        VscGrade->setValue(0);
    }
    Destaque(Linha[LinhaDaMensagem], Qt::AlignLeft | Qt::AlignTop, false);
    ProximaLinha = 0;
    QtdItens = 0;
    GradeCheia = false;
    GradeItens.clear();
    GradeItens.shrink_to_fit();
    const QColor texto = palette().color(QPalette::Active, QPalette::WindowText);
    for (Contador = 0; Contador < QtdLinhas; ++Contador) {
        Imagem* marca = ImgLinha[Contador];
        if (marca->TemPicture())
            marca->DefinirPicture({});
        Borda(marca, false);
        Rotulo* linha = Linha[Contador];
        linha->setText(QString());
        Borda(linha, false);
        linha->DefinirOpaco(false);
        if (!TemCor(linha, QPalette::WindowText, texto))
            linha->DefinirCorTexto(texto);
        linha->setToolTip(QString());
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
        // Every append past the 23rd sets the scroll bar's maximum; it is drawn once, after the load.
        VscGrade->setUpdatesEnabled(false);
        const auto redesenhar = qScopeGuard([this] { VscGrade->setUpdatesEnabled(true); });
        // The join carries both tables' Codigo; the name reaches the later one, the task's.
        for (; !RegistrosGrade->Eof(); RegistrosGrade->MoveNext()) {
            const auto campo = [](const char* nome) { return RegistrosGrade->Campo(QLatin1StringView(nome)); };
            IncluirNaGrade(int32_t(campo("Codigo").toLongLong()), campo("Fazela").toString(),
                campo("Descricao").toString(), PrioridadeDoBanco(campo("Prioridade")), campo("Executado").toString());
        }
    } else {
        Rotulo* mensagem = Linha[LinhaDaMensagem];
        Destaque(mensagem, Qt::AlignHCenter | Qt::AlignTop, true);
        mensagem->setText(QString::fromLatin1(SemFazelas));
    }
    RegistrosGrade->Close();
    FecharConexao();
}

void Prancheta::IncluirNaGrade(
    int32_t Codigo, const QString& Fazela, const QString& Descricao, uint8_t Prioridade, const QString& Executado)
{
    ItemGrade item{Codigo, Fazela, Descricao, Prioridade, !Executado.isEmpty()};
    if (!GradeCheia) {
        Borda(Linha[ProximaLinha], true);
        Borda(ImgLinha[ProximaLinha], true);
        PintarLinha(ProximaLinha, item);
        ++ProximaLinha;
    }
    GradeItens.push_back(std::move(item));
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

// A row shows one entry: its name, its description as tooltip, its priority's colour (or none)
// and its done mark.
void Prancheta::PintarLinha(int linha, const ItemGrade& e)
{
    Rotulo* rotulo = Linha[linha];
    rotulo->setText(QStringLiteral("  ") + e.Fazela);
    rotulo->setToolTip(e.Descricao);
    // An unknown priority has no colour and stays transparent, like priority 0.
    const QString cor = TraduzirCor(e.Prioridade);
    rotulo->DefinirOpaco(!cor.isEmpty());
    if (!cor.isEmpty())
        Fundo(rotulo, CorDoNumero(cor.toLongLong()));
    Imagem* marca = ImgLinha[linha];
    if (e.Executado != marca->TemPicture())
        marca->DefinirPicture(e.Executado ? ImagemCheck->Picture() : QPixmap());
}

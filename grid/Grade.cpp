// The grid: the buffer of the current group's tasks and the rows that show it.
#include "grid/Grade.h"

#include "data/Comandos.h"
#include "data/Modulo.h"
#include "shell/Prancheta.h"

#include <QScopeGuard>
#include <algorithm>
#include <optional>

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

// The columns the grid reads, found on the first row. The join carries both tables' Codigo;
// the name reaches the later one, the task's.
struct ColunasDaGrade
{
    explicit ColunasDaGrade(const LinhaBd& l)
        : codigo(l.Coluna(QLatin1StringView("Codigo")))
        , fazela(l.Coluna(QLatin1StringView("Fazela")))
        , descricao(l.Coluna(QLatin1StringView("Descricao")))
        , prioridade(l.Coluna(QLatin1StringView("Prioridade")))
        , executado(l.Coluna(QLatin1StringView("Executado")))
    {
    }
    int codigo, fazela, descricao, prioridade, executado;
};

// A text field copied once, from the engine's bytes into the grid's store; a field held in another
// type is kept as the text the grid showed for it before (a number written out, a Null empty).
TextoGrade TextoDoBanco(const LinhaBd& l, int coluna)
{
    std::string_view bytes;
    if (l.Texto(coluna, bytes))
        return GradeTextos.Guardar(bytes);
    if (l.Nulo(coluna))
        return {};
    return GradeTextos.Guardar(l.Campo(coluna).toString().toUtf8().toStdString());
}

ItemGrade ItemDoBanco(const LinhaBd& l, const ColunasDaGrade& c)
{
    ItemGrade item;
    int64_t inteiro = 0;
    item.Codigo = l.Inteiro(c.codigo, inteiro) ? inteiro : l.Campo(c.codigo).toLongLong();
    item.Fazela = TextoDoBanco(l, c.fazela);
    item.Descricao = TextoDoBanco(l, c.descricao);
    if (l.Inteiro(c.prioridade, inteiro))
        item.Prioridade = inteiro >= 0 && inteiro <= 5 ? uint8_t(inteiro) : 0;
    else
        item.Prioridade = PrioridadeDoBanco(l.Campo(c.prioridade));
    // Any text in Executado, or any number, is done; Null or an empty text is not.
    std::string_view feito;
    if (l.Texto(c.executado, feito))
        item.Executado = !feito.empty();
    else
        item.Executado = !l.Nulo(c.executado) && !l.Campo(c.executado).toString().isEmpty();
    return item;
}

// Appends an entry: painted on the next row while there are rows left, only stored after that.
// The scroll bar is the caller's.
void Incluir(Prancheta& p, ItemGrade item)
{
    if (!GradeCheia) {
        Borda(p.Linha[ProximaLinha], true);
        Borda(p.ImgLinha[ProximaLinha], true);
        p.PintarLinha(ProximaLinha, item);
        ++ProximaLinha;
    }
    GradeItens.push_back(item);
    ++QtdItens;
    if (ProximaLinha == QtdLinhas) {
        GradeCheia = true;
        ProximaLinha = QtdLinhas - 1;
    }
}

// The scroll bar's range for a group of `linhas` tasks. setMaximum alone would move the minimum
// below 0 for a short group, and the rows would then act on entries above the first.
void AjustarRolagem(QScrollBar* rolagem, int64_t linhas)
{
    if (linhas > QtdLinhas) {
        rolagem->setVisible(true);
        rolagem->setRange(0, int(linhas - QtdLinhas));
    }
}

void Mensagem(Prancheta& p)
{
    Rotulo* mensagem = p.Linha[LinhaDaMensagem];
    Destaque(mensagem, Qt::AlignHCenter | Qt::AlignTop, true);
    mensagem->setText(QString::fromLatin1(SemFazelas));
}

// The group's rows in the statement's order. With soAsVisiveis only the rows on the screen are
// read, by stepping the same statement no further: the engine sorts a group block by block of
// priority, so the first rows come before the whole group is sorted, and in the order the whole
// load gives them. The scroll bar then takes its range from a count, and the rest follows
// (CompletarGrade) before any input is handled. The count and the rows come from one read of the
// file: another program that writes between them would leave the range and the rows apart.
void Carregar(Prancheta& p, int64_t Codigo, bool soAsVisiveis)
{
    p.LimparGrade();
    if (Codigo <= 0)
        return;
    AbrirConexao();
    RegistrosGrade = std::make_shared<RegistrosBd>();
    std::optional<Transacao> umaLeitura;
    int64_t total = -1;
    if (soAsVisiveis) {
        umaLeitura.emplace(*Conexao);
        ComandoSql = Comandos::ContarGrade(Codigo);
        RegistrosGrade->Open(ComandoSql, Conexao);
        total = RegistrosGrade->Eof() ? 0 : RegistrosGrade->Campo(0).toLongLong();
        RegistrosGrade->Close();
    }
    ComandoSql = Comandos::CarregarGrade(Codigo);
    {
        // The scroll bar takes its maximum once, after the load, and is drawn once.
        p.VscGrade->setUpdatesEnabled(false);
        const auto redesenhar = qScopeGuard([&p] { p.VscGrade->setUpdatesEnabled(true); });
        std::optional<ColunasDaGrade> colunas;
        try {
            if (total != 0) {
                RegistrosGrade->Percorrer(ComandoSql, Conexao, [&](const LinhaBd& linha) {
                    if (!colunas)
                        colunas.emplace(linha);
                    Incluir(p, ItemDoBanco(linha, *colunas));
                    return !(soAsVisiveis && GradeCheia);
                });
            }
        } catch (const FalhaBanco&) {
            // A read that fails midway shows none of the group, as one that fails at once.
            p.LimparGrade();
            throw;
        }
        // Never fewer rows than were read, whatever the count said.
        const int64_t linhas = std::max<int64_t>(total, QtdItens);
        GradeIncompleta = soAsVisiveis && linhas > QtdItens;
        AjustarRolagem(p.VscGrade, linhas);
    }
    if (umaLeitura)
        umaLeitura->Confirmar();
    if (QtdItens == 0)
        Mensagem(p);
    RegistrosGrade->Close();
    FecharConexao();
}

} // namespace

TextoGrade TextosGrade::Guardar(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const uint32_t n = uint32_t(bytes.size());
    const size_t precisa = sizeof n + bytes.size();
    if (precisa > m_restante) {
        const size_t tamanho = std::max(precisa, TamanhoDoBloco);
        m_blocos.push_back(std::make_unique_for_overwrite<char[]>(tamanho));
        m_livre = m_blocos.back().get();
        m_restante = tamanho;
    }
    char* guardado = m_livre;
    std::memcpy(guardado, &n, sizeof n);
    std::memcpy(guardado + sizeof n, bytes.data(), bytes.size());
    m_livre += precisa;
    m_restante -= precisa;
    return TextoGrade(guardado);
}

void TextosGrade::Limpar()
{
    std::vector<std::unique_ptr<char[]>>().swap(m_blocos);
    m_livre = nullptr;
    m_restante = 0;
}

void Prancheta::LimparGrade()
{
    VscGrade->setVisible(false);
    {
        // The rows are painted from the first entry on, so the position goes back there with them;
        // a position left beyond the new maximum would move it, and repaint the rows, mid-load.
        const QSignalBlocker calado(VscGrade);
        VscGrade->setRange(0, 0);
    }
    Destaque(Linha[LinhaDaMensagem], Qt::AlignLeft | Qt::AlignTop, false);
    ProximaLinha = 0;
    QtdItens = 0;
    GradeCheia = false;
    GradeItens.clear();
    GradeItens.shrink_to_fit();
    GradeTextos.Limpar();
    GradeIncompleta = false;
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

void Prancheta::AlimentarGrade(int64_t Codigo) { Carregar(*this, Codigo, false); }

void Prancheta::AlimentarPrimeirasLinhas(int64_t Codigo) { Carregar(*this, Codigo, true); }

void Prancheta::CompletarGrade()
{
    if (GradeIncompleta)
        AlimentarGrade(GrupoAtual);
}

void Prancheta::IncluirNaGrade(
    int64_t Codigo, const QString& Fazela, const QString& Descricao, uint8_t Prioridade, const QString& Executado)
{
    ItemGrade item;
    item.Codigo = Codigo;
    item.Fazela = GradeTextos.Guardar(Fazela.toUtf8().toStdString());
    item.Descricao = GradeTextos.Guardar(Descricao.toUtf8().toStdString());
    item.Prioridade = Prioridade;
    item.Executado = !Executado.isEmpty();
    Incluir(*this, item);
    AjustarRolagem(VscGrade, QtdItens);
}

// A row shows one entry: its name, its description as tooltip, its priority's colour (or none)
// and its done mark.
void Prancheta::PintarLinha(int linha, const ItemGrade& e)
{
    Rotulo* rotulo = Linha[linha];
    rotulo->setText(QStringLiteral("  ") + e.Fazela.Texto());
    rotulo->setToolTip(e.Descricao.Texto());
    // An unknown priority has no colour and stays transparent, like priority 0.
    const QString cor = TraduzirCor(e.Prioridade);
    rotulo->DefinirOpaco(!cor.isEmpty());
    if (!cor.isEmpty())
        Fundo(rotulo, CorDoNumero(cor.toLongLong()));
    Imagem* marca = ImgLinha[linha];
    if (e.Executado != marca->TemPicture())
        marca->DefinirPicture(e.Executado ? ImagemCheck->Picture() : QPixmap());
}

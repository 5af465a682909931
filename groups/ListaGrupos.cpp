#include "groups/ListaGrupos.h"

#include "shell/Inventario.h"

using namespace Inventario;

namespace {

constexpr Controle Desenho
    = Controle { "cmbGrupo", Tipo::Lista, 2040, 1950, 3975, 285 }.com({ "Tahoma", 6.75 }).naOrdem(2);

} // namespace

ListaGrupos::ListaGrupos(QWidget* prancheta, Construtor& construtor, const BancoDeDados& banco)
    : Lista(prancheta)
    , m_banco(banco)
{
    construtor.aplicar(Desenho, this);
    // The user's pick; the program's own selections go through selecionar().
    connect(this, &QComboBox::activated, this, [this] {
        protegido([this] { aoSelecionar(); }, [this](const QString& relatorio) { emit falhaNoBanco(relatorio); });
    });
}

void ListaGrupos::iniciar()
{
    const std::optional<int64_t> lembrado = m_banco.grupoLembrado();
    m_atual = lembrado.value_or(0);
    alimentar();
    if (lembrado)
        m_atual = currentIndex() >= 0 ? currentData().toLongLong() : 0;
}

void ListaGrupos::alimentar()
{
    const QList<Grupo> grupos = m_banco.grupos();
    int alvo = 0;
    {
        // Filling the list selects its first item by itself; only the selection below counts.
        const QSignalBlocker calado(this);
        clear();
        if (grupos.isEmpty())
            addItem(QString::fromLatin1(SemGrupos));
        for (const Grupo& g : grupos) {
            addItem(QStringLiteral(" %1 - %2").arg(g.codigo).arg(g.nome), QVariant::fromValue<qlonglong>(g.codigo));
            if (g.codigo == m_atual && m_atual != 0)
                alvo = count() - 1;
        }
    }
    setEnabled(!grupos.isEmpty());
    selecionar(alvo);
}

void ListaGrupos::excluirGrupoAtual()
{
    m_banco.excluirGrupo(m_atual);
    alimentar();
}

// Sets the position and raises the selection inside the call, as a pick does.
void ListaGrupos::selecionar(int posicao)
{
    {
        const QSignalBlocker calado(this);
        setCurrentIndex(posicao);
    }
    aoSelecionar();
}

void ListaGrupos::aoSelecionar()
{
    // At start-up the board loads its grid itself, and writes nothing.
    if (!window()->isVisible())
        return;
    const QVariant codigo = currentData();
    m_atual = codigo.isValid() ? codigo.toLongLong() : 0;
    emit grupoAtualMudou(m_atual);
    m_banco.lembrarGrupo(m_atual);
}

#include "grid/AcessoGrade.h"

#include "grid/Grade.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace {

// A row's label or its mark: one interface, which reads the row it stands for from the grid at
// every question (a reload or a scroll changes what the row shows, not the widget).
class InterfaceLinha : public QAccessibleWidget
{
public:
    InterfaceLinha(QWidget* controle, bool marca)
        : QAccessibleWidget(controle, marca ? QAccessible::CheckBox : QAccessible::ListItem)
        , m_marca(marca)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        const std::optional<Fazela> f = fazela();
        if (t == QAccessible::Name) {
            if (f)
                return f->nome;
            // The row that says the group has no tasks.
            const auto* rotulo = qobject_cast<const QLabel*>(widget());
            return rotulo && !m_marca ? rotulo->text().trimmed() : QString();
        }
        if (t == QAccessible::Description)
            return f && !m_marca ? AcessoGrade::descricaoDaLinha(f->prioridade, f->executada, f->descricao) : QString();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        const std::optional<Fazela> f = fazela();
        // Every row stays checkable, whatever it shows: a screen reader is told of changes of the
        // checked state only.
        s.checkable = true;
        s.checked = f && f->executada;
        // The rows are one stop of the keyboard, but Up and Down reach every row with a task.
        s.focusable = !m_marca && f;
        return s;
    }

    QStringList actionNames() const override
    {
        if (!fazela())
            return {};
        if (m_marca)
            return { toggleAction() };
        return { toggleAction(), pressAction(), setFocusAction() };
    }

    void doAction(const QString& acao) override
    {
        Grade* g = grade();
        const int linha = g ? g->linhaDe(object()) : -1;
        if (linha < 0)
            return;
        if (acao == toggleAction())
            g->alternarMarca(linha);
        else if (acao == pressAction() && !m_marca)
            g->abrirFazela(linha);
        else
            QAccessibleWidget::doAction(acao);
    }

private:
    Grade* grade() const { return qobject_cast<Grade*>(widget()->parentWidget()); }
    std::optional<Fazela> fazela() const
    {
        const Grade* g = grade();
        return g ? g->fazelaDaLinha(g->linhaDe(object())) : std::nullopt;
    }

    bool m_marca;
};

void enviar(QWidget* controle, QAccessible::Event tipo)
{
    QAccessibleEvent evento(controle, tipo);
    QAccessible::updateAccessibility(&evento);
}

} // namespace

QString AcessoGrade::descricaoDaLinha(int prioridade, bool executada, const QString& descricao)
{
    static constexpr const char* nomes[] = { "Nenhuma", "Baixa", "Média", "Alta", "Urgente" };
    QString texto;
    // A priority another program stored outside 1 to 5 is not named.
    if (prioridade >= 1 && prioridade <= 5)
        texto = QStringLiteral("Prioridade ") + QString::fromUtf8(nomes[prioridade - 1]);
    if (executada)
        texto += texto.isEmpty() ? QStringLiteral("Feita") : QStringLiteral(", feita");
    if (!descricao.isEmpty())
        texto += (texto.isEmpty() ? QString() : QStringLiteral(". ")) + descricao;
    return texto;
}

void AcessoGrade::anunciar(QWidget* linha, QWidget* marca, unsigned mudancas)
{
    if (!QAccessible::isActive())
        return;
    if (mudancas & Texto) {
        enviar(linha, QAccessible::NameChanged);
        enviar(marca, QAccessible::NameChanged);
    }
    enviar(linha, QAccessible::DescriptionChanged);
    if (mudancas & Marca) {
        QAccessible::State marcada;
        marcada.checked = true;
        for (QWidget* w : { linha, marca }) {
            QAccessibleStateChangeEvent evento(w, marcada);
            QAccessible::updateAccessibility(&evento);
        }
    }
}

QAccessibleInterface* AcessoGrade::interfaceDaGrade(const QString& classe, QObject* objeto)
{
    auto* w = qobject_cast<QWidget*>(objeto);
    if (!w)
        return nullptr;
    if (classe == QLatin1String("Grade"))
        return new QAccessibleWidget(w, QAccessible::List);
    const bool marca = classe == QLatin1String("Imagem");
    if ((marca || classe == QLatin1String("Rotulo")) && qobject_cast<Grade*>(w->parentWidget()))
        return new InterfaceLinha(w, marca);
    return nullptr;
}

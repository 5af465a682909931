#include "shell/Acessibilidade.h"

#include "grid/AcessoGrade.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QWidget>
#include <cstring>

namespace {

struct Papel
{
    const char* controle;
    QAccessible::Role papel;
    const char* nome = nullptr; // nullptr: the control's tooltip, or a label's text
    const char* nomeDe = nullptr; // a label whose text names the control
    const char* descricaoDe = nullptr; // a label whose text describes it
    bool repetido = false; // says again what another control says: left out
};

// clang-format off
constexpr Papel Papeis[] = {
    { "Prancheta", QAccessible::Window, "Fazelas" },
    { "PicFocus", QAccessible::Pane, "Início do quadro" },
    { "PicPrancheta", QAccessible::Pane, "Quadro de fazelas" },
    { "CmdNewGrupo", QAccessible::Button, "Novo grupo" },
    { "CmdDelGrupo", QAccessible::Button, "Excluir grupo" },
    { "CmdNewFazela", QAccessible::Button, "Nova fazela" },
    { "CmdSair", QAccessible::Button, "Esconder o quadro" },
    { "ImgGrupoSair", QAccessible::Button },
    { "CmdFazelaSair", QAccessible::Button },
    { "ImgMensagemSair", QAccessible::Button },
    { "Vek1", QAccessible::Link },
    { "Image1", QAccessible::Link, nullptr, "Vek1" },
    { "Image2", QAccessible::Link, nullptr, "Vek1" },
    { "Vek2", QAccessible::StaticText, nullptr, nullptr, nullptr, true }, // Vek1's shadow
    { "FrmGrupo", QAccessible::Dialog, nullptr, "lblGrupoCaption" },
    { "FrmFazela", QAccessible::Dialog, nullptr, "Label5" },
    // A notification is read out as soon as it shows, with its text.
    { "FrmMensagem", QAccessible::Notification, nullptr, "lblMsgBoxCaption", "txtMsgBoxMensagem" },
};

struct Par
{
    const char* rotulo;
    const char* controle;
};
constexpr Par Rotulos[] = {
    { "lblGrupo", "cmbGrupo" },
    { "Label3", "txtGrupoGrupo" },
    { "Label9", "CmbFazelaPrior" },
    { "Label4", "txtFazelaNome" },
    { "Label8", "txtFazelaDescricao" },
};
// clang-format on

const Papel* papelDe(const QObject* o)
{
    const QByteArray nome = o->objectName().toLatin1();
    for (const Papel& p : Papeis)
        if (nome == p.controle)
            return &p;
    return nullptr;
}

QString textoDe(const QWidget* w, const char* nome)
{
    // The label lies beside the control, or inside it (a panel's caption).
    for (const QWidget* onde : { w, static_cast<const QWidget*>(w->parentWidget()) })
        if (const auto* rotulo = onde ? onde->findChild<QLabel*>(QString::fromLatin1(nome)) : nullptr)
            return rotulo->text().trimmed();
    return {};
}

// A control of the board's own kinds. What it is comes from the table above, looked up by its
// name at every question, so it holds whenever the interface was made.
class InterfaceControle : public QAccessibleWidget
{
public:
    InterfaceControle(QWidget* w, QAccessible::Role padrao)
        : QAccessibleWidget(w, padrao)
    {
    }

    QAccessible::Role role() const override
    {
        const Papel* p = papelDe(object());
        return p ? p->papel : QAccessibleWidget::role();
    }

    QString text(QAccessible::Text t) const override
    {
        const Papel* p = papelDe(object());
        if (t == QAccessible::Name) {
            if (p && p->nome)
                return QString::fromUtf8(p->nome);
            if (p && p->nomeDe)
                return textoDe(widget(), p->nomeDe);
            if (const auto* rotulo = qobject_cast<const QLabel*>(widget()))
                return rotulo->text().trimmed();
            if (!widget()->toolTip().isEmpty())
                return widget()->toolTip();
        } else if (t == QAccessible::Description && p) {
            // The tooltip of a named image says what its name says.
            return p->descricaoDe ? textoDe(widget(), p->descricaoDe) : QString();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (const Papel* p = papelDe(object()); p && p->repetido)
            s.invisible = true;
        return s;
    }

    QList<std::pair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation tipo) const override
    {
        auto relacoes = QAccessibleWidget::relations(tipo);
        const auto* rotulo = qobject_cast<const QLabel*>(widget());
        if (rotulo && rotulo->buddy() && (tipo & QAccessible::Label))
            relacoes.append({ QAccessible::queryAccessibleInterface(rotulo->buddy()), QAccessible::Label });
        return relacoes;
    }

    QStringList actionNames() const override
    {
        QStringList acoes = QAccessibleWidget::actionNames();
        if (age())
            acoes.prepend(pressAction());
        return acoes;
    }

    void doAction(const QString& acao) override
    {
        // What a click does: the control's own signal, once the screen reader has its answer (a
        // question in the message panel waits for its own answer).
        if (acao == pressAction() && age())
            QMetaObject::invokeMethod(object(), "clicado", Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(acao);
    }

private:
    bool age() const
    {
        const QAccessible::Role r = role();
        return (r == QAccessible::Button || r == QAccessible::Link) && widget()->isEnabled();
    }
};

QAccessibleInterface* interfaceDoQuadro(const QString& classe, QObject* objeto)
{
    // clang-format off
    static constexpr std::pair<const char*, QAccessible::Role> padroes[] = {
        { "Prancheta", QAccessible::Window }, { "CaixaImagem", QAccessible::Pane },
        { "Imagem", QAccessible::Graphic }, { "Rotulo", QAccessible::StaticText },
        { "Painel", QAccessible::Pane }, { "Traco", QAccessible::Separator },
    };
    // clang-format on
    auto* w = qobject_cast<QWidget*>(objeto);
    for (const auto& [nome, papel] : padroes)
        if (w && classe == QLatin1String(nome))
            return new InterfaceControle(w, papel);
    return nullptr;
}

} // namespace

void Acessibilidade::instalar()
{
    // The grid's rows and marks are labels and images too: its interfaces must be asked first, and
    // the toolkit asks the factory installed last first.
    QAccessible::installFactory(interfaceDoQuadro);
    QAccessible::installFactory(AcessoGrade::interfaceDaGrade);
}

void Acessibilidade::ligarRotulos(QWidget* janela)
{
    for (const Par& p : Rotulos) {
        auto* rotulo = janela->findChild<QLabel*>(QString::fromLatin1(p.rotulo));
        auto* controle = janela->findChild<QWidget*>(QString::fromLatin1(p.controle));
        if (rotulo && controle)
            rotulo->setBuddy(controle);
    }
}

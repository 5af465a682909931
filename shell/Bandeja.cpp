#include "shell/Bandeja.h"

#include "shell/Inventario.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QWidget>
#include <chrono>

CliquesDoIcone::Gesto CliquesDoIcone::gesto(QSystemTrayIcon::ActivationReason motivo, qint64 instante)
{
    switch (motivo) {
    case QSystemTrayIcon::Trigger:
        if (recente(m_toqueSolto, instante)) {
            m_toqueSolto = -1;
            m_duploDeToques = instante;
            return Gesto::DuploClique;
        }
        m_toqueSolto = instante;
        return Gesto::Nenhum;
    case QSystemTrayIcon::DoubleClick:
        m_toqueSolto = -1;
        // The same double-click, already made of two single activations.
        if (recente(m_duploDeToques, instante)) {
            m_duploDeToques = -1;
            return Gesto::Nenhum;
        }
        return Gesto::DuploClique;
    case QSystemTrayIcon::Context:
        return Gesto::Menu;
    default:
        return Gesto::Nenhum;
    }
}

Bandeja::Bandeja(QWidget* quadro)
    : QObject(quadro)
    , m_quadro(quadro)
    , m_cliques(QApplication::doubleClickInterval())
{
}

Bandeja::~Bandeja() = default;

bool Bandeja::incluir()
{
    m_icone = new QSystemTrayIcon(m_quadro->windowIcon(), this);
    m_icone->setToolTip(QStringLiteral("Fazelas"));
    connect(m_icone, &QSystemTrayIcon::activated, this, &Bandeja::aoAtivar);
    m_icone->show();
    const bool incluido = presente();
    // Qt knows the place only of an icon it docked itself in an XEmbed tray; there the menu is
    // ours to open. A StatusNotifierItem host draws the menu itself, from the one handed to it.
    if (incluido && !m_icone->geometry().isValid())
        m_icone->setContextMenu(menu());
    return incluido;
}

bool Bandeja::excluir()
{
    const bool estava = presente();
    delete m_icone;
    m_icone = nullptr;
    return estava;
}

bool Bandeja::presente() const { return m_icone && m_icone->isVisible() && QSystemTrayIcon::isSystemTrayAvailable(); }

QMenu* Bandeja::menu()
{
    if (!m_menu) {
        m_formulario = std::make_unique<QWidget>(nullptr, Qt::Window);
        m_formulario->setObjectName(QStringLiteral("FormMenu"));
        m_formulario->setWindowTitle(QStringLiteral("Fazelas"));
        m_formulario->resize(Inventario::retangulo(0, 0, 1560, 360).size());
        m_menu = new QMenu(QStringLiteral("mnu0"), m_formulario.get());
        m_menu->setObjectName(QStringLiteral("mnu0"));
        QAction* encerrar = m_menu->addAction(QStringLiteral("&Encerrar"));
        encerrar->setObjectName(QStringLiteral("Encerrar"));
        connect(encerrar, &QAction::triggered, this, &Bandeja::encerrar);
    }
    return m_menu;
}

void Bandeja::aoAtivar(QSystemTrayIcon::ActivationReason motivo)
{
    using namespace std::chrono;
    const qint64 agora = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    switch (m_cliques.gesto(motivo, agora)) {
    case CliquesDoIcone::Gesto::DuploClique:
        // A board minimized through the task bar comes back as a hidden one does.
        if (m_quadro->isVisible() && !m_quadro->isMinimized())
            emit manterQuadroAcima();
        else
            emit mostrarQuadro();
        break;
    case CliquesDoIcone::Gesto::Menu:
        // Opened on the board's form even while the board is hidden.
        menu()->popup(QCursor::pos());
        break;
    case CliquesDoIcone::Gesto::Nenhum:
        break;
    }
}

// One running copy of the program per folder.
#include "apoio/Apoio.h"
#include "data/Modulo.h"
#include "shell/Bandeja.h"
#include "shell/Plataforma.h"
#include "shell/Prancheta.h"

#include <QtTest>

using namespace Modulo;

class TstInstancia : public QObject
{
    Q_OBJECT
private slots:
    void segundaCopiaTerminaSemTocarEmNada();
    void travaDeCopiaMortaNaoImpede();
};

void TstInstancia::segundaCopiaTerminaSemTocarEmNada()
{
    BancoDeTeste banco;
    banco.Executar("Insert into Grupo_Fazela values (5,'Casa'); Update Config set Ultimo_Grupo = 5");
    Prancheta primeira;
    QVERIFY(primeira.Form_Load());
    primeira.hide();
    QSystemTrayIcon* icone = DadosBandeja.get();
    // A copy that has run for an hour holds its lock as firmly as a new one.
    QFile trava(Plataforma::ArquivoDaTrava(PastaDoPrograma));
    QVERIFY(trava.open(QIODevice::ReadOnly));
    QVERIFY(trava.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    trava.close();
    GrupoAtual = UltimoGrupo = 0;
    // The database's file is made unreadable: a second copy that touched it would fail.
    QVERIFY(QFile::rename(banco.Arquivo(), banco.Arquivo() + ".fora"));
    Prancheta segunda;
    QVERIFY(!segunda.Form_Load());
    QCOMPARE(DadosBandeja.get(), icone);
    QCOMPARE(UltimoGrupo, 0);
    QVERIFY(!segunda.isVisible());
    // The user started it again: the running copy's board comes back.
    QTRY_VERIFY(primeira.isVisible());
    QVERIFY(QFile::rename(banco.Arquivo() + ".fora", banco.Arquivo()));
    // A copy kept in another folder is another board.
    BancoDeTeste outra;
    Prancheta terceira;
    QVERIFY(terceira.Form_Load());
}

void TstInstancia::travaDeCopiaMortaNaoImpede()
{
    BancoDeTeste banco;
    // What a copy killed while running leaves: its lock, naming a process that no longer exists.
    QFile trava(Plataforma::ArquivoDaTrava(PastaDoPrograma));
    QVERIFY(trava.open(QIODevice::WriteOnly));
    trava.write("2147483000\nfazelas\n\n");
    trava.close();
    // ... and the socket its doorbell listened on.
    QFile campainha(trava.fileName().replace(QLatin1String(".lock"), QLatin1String(".sock")));
    QVERIFY(campainha.open(QIODevice::WriteOnly));
    campainha.close();
    Prancheta p;
    QVERIFY(p.Form_Load());
    Prancheta segunda;
    QVERIFY(!segunda.Form_Load());
    QTRY_VERIFY(p.isVisible());
}

QTEST_MAIN(TstInstancia)
#include "tst_instancia.moc"

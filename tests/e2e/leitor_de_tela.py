"""The running board as a screen reader reads it (AT-SPI): every mark a check box named after its
task and checked as the file says, the image buttons named buttons, no control the keyboard reaches
without a name, a row read with its priority; a tick and a question through the screen reader's
own actions. Usage: leitor_de_tela.py DATABASE SECONDS"""
import sqlite3
import sys
import time

import pyatspi
from gi.repository import GLib

banco, prazo = sys.argv[1], time.time() + float(sys.argv[2])
falhas = []


def esperar(condicao, o_que):
    while time.time() < prazo:
        while GLib.MainContext.default().iteration(False):  # the events the screen reader gets
            pass
        try:
            if condicao():
                return True
        except Exception:  # the tree is still being built
            pass
        time.sleep(0.05)
    sys.exit("FALHA: " + o_que)


def todos(o):
    yield o
    for i in range(o.childCount):
        c = o.getChildAtIndex(i)
        if c is not None:
            yield from todos(c)


def estado(o, s):
    return o.getState().contains(s)


def quadro():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Fazelas":
            for i in range(app.childCount):
                if app.getChildAtIndex(i).name == "Fazelas":
                    return app.getChildAtIndex(i)
    return None


def grade():
    return next(o for o in todos(quadro()) if o.getRole() == pyatspi.ROLE_LIST and o.name == "Fazelas")


def linhas():
    """(row, mark) of every row that shows a task, by task name."""
    g = grade()
    filhos = [g.getChildAtIndex(i) for i in range(g.childCount)]
    itens = {o.name: o for o in filhos if o.getRole() == pyatspi.ROLE_LIST_ITEM and o.name}
    marcas = {o.name: o for o in filhos if o.getRole() == pyatspi.ROLE_CHECK_BOX and o.name}
    return {n: (itens[n], marcas.get(n)) for n in itens}


def fazelas():
    with sqlite3.connect(banco) as c:
        return dict(c.execute("SELECT Fazela, Executado = 'S' FROM Fazelas WHERE Cod_Grupo ="
                              " (SELECT Ultimo_Grupo FROM Config)").fetchall())


def acao(o, nome):
    a = o.queryAction()
    a.doAction(next(i for i in range(a.nActions) if a.getName(i) == nome))


def confere(condicao, o_que):
    if not condicao:
        falhas.append(o_que)


esperar(lambda: len(linhas()) == len(fazelas()), "the board's rows never reached AT-SPI")
for nome, feita in fazelas().items():
    linha, marca = linhas()[nome]
    confere(marca is not None, f"{nome}: no check box named after the task")
    confere(marca is None or estado(marca, pyatspi.STATE_CHECKED) == bool(feita), f"{nome}: mark's state")
    confere(estado(linha, pyatspi.STATE_CHECKED) == bool(feita), f"{nome}: row's state")
    confere(linha.description.startswith("Prioridade "), f"{nome}: read as '{linha.description}'")
botoes = {o.name for o in todos(quadro()) if o.getRole() == pyatspi.ROLE_PUSH_BUTTON and estado(o, pyatspi.STATE_SHOWING)}
confere({"Novo grupo", "Excluir grupo", "Nova fazela", "Esconder o quadro"} <= botoes, f"image buttons: {botoes}")
for o in todos(quadro()):
    if estado(o, pyatspi.STATE_FOCUSABLE) and estado(o, pyatspi.STATE_SHOWING) and not o.name.strip():
        falhas.append(f"a {o.getRoleName()} the keyboard reaches has no name")
confere(all(o.name for o in todos(quadro()) if o.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_DIALOG)),
        "a panel or a text box without its caption or label")
confere(sum(o.getRole() == pyatspi.ROLE_LINK for o in todos(quadro())) == 3, "the maker's three links")

# A tick through the screen reader: the file, the mark and the row follow, and the screen reader
# is told (it keeps what it read, and reads a change only from these events).
avisos = []
pyatspi.Registry.registerEventListener(lambda e: avisos.append(e.source.name), "object:state-changed:checked")
nome, feita = next(iter(fazelas().items()))
acao(linhas()[nome][1], "Toggle")
esperar(lambda: avisos.count(nome) == 2, f"{nome}: no news of the tick for the row and its mark ({avisos})")
esperar(lambda: fazelas()[nome] != feita, f"{nome}: the screen reader's tick did not reach the file")
esperar(lambda: all(estado(o, pyatspi.STATE_CHECKED) != bool(feita) for o in linhas()[nome]),
        f"{nome}: the screen reader was not told of the tick")

# A task added through the screen reader: after the reload the screen reader is told the rows'
# and marks' new names.
nomes = set()
pyatspi.Registry.registerEventListener(lambda e: nomes.add((e.source.getRole(), e.source.name)),
                                       "object:property-change:accessible-name")
acao(next(o for o in todos(quadro()) if o.name == "Nova fazela"), "Press")
painel = next(o for o in todos(quadro()) if o.getRole() == pyatspi.ROLE_DIALOG and o.name == "Dados da Fazela")
caixa = next(o for o in todos(painel) if o.getRole() == pyatspi.ROLE_TEXT and o.name.startswith("Nome"))
esperar(lambda: estado(caixa, pyatspi.STATE_SHOWING), "the task panel did not open")
caixa.queryEditableText().setTextContents("Aguar a horta")
acao(next(o for o in todos(painel) if o.name == "Incluir"), "Press")
esperar(lambda: "Aguar a horta" in fazelas(), "the task added through the screen reader is not in the file")
esperar(lambda: {(pyatspi.ROLE_LIST_ITEM, "Aguar a horta"), (pyatspi.ROLE_CHECK_BOX, "Aguar a horta")} <= nomes,
        f"no news of the new task's row and mark: {nomes}")

# A question is a notification, read out as it shows, with its text.
aviso = next(o for o in todos(quadro()) if o.getRole() == pyatspi.ROLE_NOTIFICATION)
acao(next(o for o in todos(quadro()) if o.name == "Excluir grupo"), "Press")
esperar(lambda: estado(aviso, pyatspi.STATE_SHOWING) and "Exclusão do Grupo" in aviso.description,
        "the question was not shown to the screen reader with its text")
acao(next(o for o in todos(aviso) if o.name == "Cancelar"), "Press")
esperar(lambda: not estado(aviso, pyatspi.STATE_SHOWING), "the answered question stayed")

for f in falhas:
    print("FALHA:", f)
sys.exit(1 if falhas else 0)

#!/usr/bin/env python3
"""The compact search judged on the distribution of its results, not on one seed.

Runs kelm-lote --busca compacta over seeds 1..S (default ten) on every bundled compact
championship: the five classic ones of 8 to 16 teams and the random ones of 18 and 30 clubs in
bench/campeonatos (written by scripts/gera_classicos.py and scripts/gera_compactos.py), and the
20 and 24 clubs of exemplos/. It prints, per championship, the part of FO_STAR above the floor
that Inviabilidade 4 sets in a single round robin (FO - 10^7 x Inv4 with the default weights:
runs x 10^5 + km + 100 x spread), its median over the seeds and its best, how many runs left
Inviabilidades 1, 2, 3 and 5 at 0, and the median CPU time of a run (of all its threads).

  bench/compacta.py [--lote KELM_LOTE] [--base OUTRO_KELM_LOTE] [--sementes S] [--passo P]
                    [--so NOME,...] [-j J] [-- OPÇÕES_DO_KELM_LOTE...]

--base runs a second kelm-lote (another build, say the one before a change) on the same
championships and seeds, and prints its row under each row of the first: a change to the
search is judged side by side, in one run, on one machine. Options after -- go to every run
of both (for example -- --esforco 4, or -- --returno espelhado); with -- --execucoes 4, give
--passo 4 so that the runs of one row share no seed. -j runs that many at once, each one's CPU
time still its own (on a busy machine the times grow, the results do not).
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

RAIZ = Path(__file__).resolve().parent.parent
CAMPEONATOS = [RAIZ / "bench/campeonatos" / f"{nome}.dat" for nome in ("nl8", "nl10", "nl12", "nl14", "nl16", "c18")] + [
    RAIZ / "exemplos/brasileirao_2023_turno.dat",
    RAIZ / "exemplos/brasileirao_24_clubes.dat",
    RAIZ / "bench/campeonatos/c30.dat",
]
PESO_MANDOS = 10_000_000  # the default weight of Inviabilidade 4


def roda(lote, dados, semente, extras):
    """One run: (part above the floor, hard counts all 0, CPU seconds)."""
    comando = [str(lote), str(dados), "--busca", "compacta", "--semente", str(semente), "--silencioso", "-o", os.devnull,
               *extras]
    with tempfile.TemporaryFile(mode="w+") as erros:
        processo = subprocess.Popen(comando, stdout=subprocess.DEVNULL, stderr=erros, env={**os.environ, "LC_ALL": "C"})
        # The process's own CPU time, whatever else runs beside it.
        _, status, uso = os.wait4(processo.pid, 0)
        erros.seek(0)
        texto = erros.read()
    if os.waitstatus_to_exitcode(status) not in (0, 3):
        sys.exit(f"{' '.join(comando)}: saída {os.waitstatus_to_exitcode(status)}\n{texto}")
    inv = {int(k): float(v) for k, v in re.findall(r"^Inviabilidade (\d+): (\S+)$", texto, re.M)}
    fo = float(re.search(r"^FO_STAR: (\S+)$", texto, re.M).group(1))
    return fo - PESO_MANDOS * inv[4], all(inv[k] == 0 for k in (1, 2, 3, 5)), uso.ru_utime + uso.ru_stime


def linha(rotulo, resultados):
    acima = [r[0] for r in resultados]
    return (f"  {rotulo:<22} {statistics.median(acima):>14,.0f} {min(acima):>14,.0f} "
            f"{sum(r[1] for r in resultados):>5}/{len(resultados):<3} {statistics.median(r[2] for r in resultados):>8.2f}")


def main():
    args = sys.argv[1:]
    extras = args[args.index("--") + 1:] if "--" in args else []
    args = args[:args.index("--")] if "--" in args else args
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--lote", default=str(RAIZ / "build/release/src/kelm-lote"))
    p.add_argument("--base")
    p.add_argument("--sementes", type=int, default=10)
    p.add_argument("--passo", type=int, default=1,
                   help="de uma semente à seguinte (com -- --execucoes K, passo K: execuções sem sementes em comum)")
    p.add_argument("--so", help="só estes campeonatos (nomes sem .dat, separados por vírgula)")
    p.add_argument("-j", type=int, default=1, help="execuções ao mesmo tempo (padrão 1)")
    op = p.parse_args(args)
    campeonatos = CAMPEONATOS
    if op.so:
        campeonatos = [c for c in CAMPEONATOS if c.stem in op.so.split(",")]

    programas = [("", op.lote)] + ([("base", op.base)] if op.base else [])
    sementes = [1 + k * op.passo for k in range(op.sementes)]
    print(f"Busca compacta, sementes {', '.join(map(str, sementes[:3]))}, ... {sementes[-1]}"
          f"{' ' + ' '.join(extras) if extras else ''}")
    print(f"  {'campeonato':<22} {'mediana acima':>14} {'melhor acima':>14} {'1235=0':>9} {'CPU (s)':>8}")
    for dados in campeonatos:
        for rotulo, lote in programas:
            with ThreadPoolExecutor(op.j) as fila:
                resultados = list(fila.map(lambda s: roda(lote, dados, s, extras), sementes))
            print(linha(rotulo or dados.stem, resultados), flush=True)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes random compact championships for trying and timing the compact search: N clubs of
18 and 21 to 30, each placed at a state capital drawn at random (so several often share a state,
at distance 0), the real road distances between the capitals, and R = N-1 rounds (N for an odd
N). The draws are fixed, so the same files come out every time.

Usage: scripts/gera_compactos.py PASTA_DOS_DADOS PASTA_DE_SAIDA
       (PASTA_DOS_DADOS holds capitais_distancias.tsv, as for gera_exemplos.py)

Then, for example:
  for f in PASTA_DE_SAIDA/c*.dat; do
    /usr/bin/time -f "$f %U s" kelm-lote "$f" --busca compacta --silencioso -o /dev/null
  done
"""
import csv
import random
import sys
from pathlib import Path

dados, saida = Path(sys.argv[1]), Path(sys.argv[2])
saida.mkdir(parents=True, exist_ok=True)
with open(dados / "capitais_distancias.tsv", encoding="utf-8") as f:
    linhas = list(csv.reader(f, delimiter="\t"))
capitais = linhas[0][1:]
distancia = {(l[0], c): int(v) for l in linhas[1:] for c, v in zip(capitais, l[1:])}

for n in [18] + list(range(21, 31)):
    sorteio = random.Random(n * 7 + 1)
    sedes = [sorteio.choice(capitais) for _ in range(n)]
    triplas = [f"{i}, {j}, {0 if a == b else distancia[(a, b)]}"
               for i, a in enumerate(sedes, 1) for j, b in enumerate(sedes, 1) if i != j]
    (saida / f"c{n}_d.txt").write_text("\n".join(triplas) + "\n")
    (saida / f"c{n}_n.txt").write_text("\n".join(f"Time{t}" for t in range(1, n + 1)) + "\n")
    rodadas = n - 1 if n % 2 == 0 else n
    (saida / f"c{n}.dat").write_text(f"{n}, {rodadas}\nc{n}_d.txt\nc{n}_n.txt\n")

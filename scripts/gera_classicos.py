#!/usr/bin/env python3
"""Writes the five classic compact championships of 8, 10, 12, 14 and 16 teams that the
literature on travelling tournaments measures itself on (Easton, Nemhauser and Trick, 2001:
NL8 to NL16, sixteen National League cities). Each is the first n cities of the table below,
with R = n-1 rounds. KELM's objectives are not that problem's, so their published optima are
no yardstick here; the distances are, and they are the same everywhere.

Usage: scripts/gera_classicos.py PASTA_DE_SAIDA
"""
import sys
from pathlib import Path

CIDADES = ["ATL", "NYM", "PHI", "MON", "FLA", "PIT", "CIN", "CHI",
           "STL", "MIL", "HOU", "COL", "SF", "SD", "LA", "ARI"]

# The symmetric distance table of NL16, upper triangle, row by row.
SUPERIOR = [
    [745, 665, 929, 605, 521, 370, 587, 467, 670, 700, 1210, 2130, 1890, 1930, 1592],
    [80, 337, 1090, 315, 567, 712, 871, 741, 1420, 1630, 2560, 2430, 2440, 2144],
    [380, 1020, 257, 501, 664, 808, 697, 1340, 1570, 2520, 2370, 2390, 2082],
    [1380, 408, 622, 646, 878, 732, 1520, 1530, 2430, 2360, 2360, 2194],
    [1010, 957, 1190, 1060, 1270, 966, 1720, 2590, 2270, 2330, 1982],
    [253, 410, 557, 451, 1140, 1320, 2260, 2110, 2130, 1829],
    [250, 311, 325, 897, 1090, 2040, 1870, 1890, 1580],
    [260, 86, 939, 916, 1850, 1730, 1740, 1453],
    [328, 679, 794, 1740, 1560, 1590, 1272],
    [1005, 905, 1846, 1731, 1784, 1458],
    [878, 1640, 1300, 1370, 1016],
    [947, 832, 830, 586],
    [458, 347, 654],
    [112, 299],
    [358],
]


def distancia(i, j):
    if i == j:
        return 0
    a, b = min(i, j), max(i, j)
    return SUPERIOR[a][b - a - 1]


saida = Path(sys.argv[1])
saida.mkdir(parents=True, exist_ok=True)
for n in (8, 10, 12, 14, 16):
    triplas = [f"{i + 1}, {j + 1}, {distancia(i, j)}" for i in range(n) for j in range(n) if i != j]
    (saida / f"nl{n}_d.txt").write_text("\n".join(triplas) + "\n")
    (saida / f"nl{n}_n.txt").write_text("\n".join(CIDADES[:n]) + "\n")
    (saida / f"nl{n}.dat").write_text(f"{n}, {n - 1}\nnl{n}_d.txt\nnl{n}_n.txt\n")

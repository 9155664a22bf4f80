#!/usr/bin/env python3
"""Writes the bundled championships of exemplos/ from the road distances between the state
capitals and the list of clubs. Every club is placed at its state's capital, so clubs of the
same state are at distance 0, which is how KELM tells that they share a state.

Usage: scripts/gera_exemplos.py PASTA_DOS_DADOS   (the folder with capitais_distancias.tsv,
capitais_coordenadas.tsv, clubes_2023.tsv and clubes_acesso_2024.tsv)
"""
import csv
import sys
from pathlib import Path

dados = Path(sys.argv[1])
saida = Path(__file__).resolve().parent.parent / "exemplos"


def tabela(nome):
    with open(dados / nome, encoding="utf-8") as f:
        return list(csv.reader(f, delimiter="\t"))


linhas = tabela("capitais_distancias.tsv")
capitais = linhas[0][1:]
distancia = {(l[0], c): int(v) for l in linhas[1:] for c, v in zip(capitais, l[1:])}
capital_da_uf = {l[1]: l[0] for l in tabela("capitais_coordenadas.tsv")[1:]}


def escreve(nome, rodadas_lista, clubes, codificacao="utf-8", fim_de_linha="\n"):
    """clubes: (nome sem brancos, uf) in team order."""
    sedes = [capital_da_uf[uf] for _, uf in clubes]
    triplas = []
    for i, a in enumerate(sedes, 1):
        for j, b in enumerate(sedes, 1):
            if i != j:
                triplas.append(f"{i}, {j}, {0 if a == b else distancia[(a, b)]}")
    (saida / f"{nome}_distancias.txt").write_bytes(fim_de_linha.join(triplas + [""]).encode(codificacao))
    nomes = [c for c, _ in clubes]
    (saida / f"{nome}_nomes.txt").write_bytes(fim_de_linha.join(nomes + [""]).encode(codificacao))
    for sufixo, rodadas in rodadas_lista:
        texto = [f"{len(clubes)}, {rodadas}", f"{nome}_distancias.txt", f"{nome}_nomes.txt", ""]
        (saida / f"{nome}{sufixo}.dat").write_bytes(fim_de_linha.join(texto).encode(codificacao))


clubes = [(c.replace(" ", "-"), uf) for c, _, uf in tabela("clubes_2023.tsv")[1:]]
# The national first division: 38 rounds (home and away), and the same teams in 19 rounds.
escreve("brasileirao_2023", [("", 38), ("_turno", 19)], clubes)

# The twenty with the four clubs promoted for 2024: 24 clubs, a compact single round robin of
# 23 rounds (a league of no real season, for trying the compact search).
acesso = [(c.replace(" ", "-"), uf) for c, _, uf in tabela("clubes_acesso_2024.tsv")[1:]]
escreve("brasileirao_24_clubes", [("", 23)], clubes + acesso)

# A small regional cup, as a file exported on Windows: Latin-1 names and CR LF line ends.
nordeste = [("Bahia", "BA"), ("Vitória", "BA"), ("Ceará", "CE"), ("Fortaleza", "CE"),
            ("Náutico", "PE"), ("Sport", "PE")]
escreve("nordeste", [("", 10), ("_turno", 5)], nordeste, codificacao="latin-1", fim_de_linha="\r\n")

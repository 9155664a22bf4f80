#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (fuzz/corpus/<target>/) from the bundled
championships in exemplos/ and from the files the loader tests use. Run it again after
changing the examples; the files it writes are kept in git, next to the inputs that long
fuzz runs added to the corpora (merged with -merge=1, see fuzz/CMakeLists.txt), which it
leaves alone.

Input layout of each target (see fuzz/verificacoes.hpp):
  dados       the data file's bytes
  distancias  one byte (N - 3), then the distances file
  nomes       one byte (N - 3), then the names file
  peso        one byte (bit 0: separator, 0 '.', 1 ','; the rest: the field), then the text
  carga       data file, 0x1E, distances file, 0x1E, names file
  resultado   one byte (its remainder by 3: 0 nordeste, 1 brasileirao_2023,
              2 brasileirao_24_clubes), then a result file
  requisitos  one byte choosing the championship as for resultado, then a requirements file
"""

import hashlib
import pathlib

RAIZ = pathlib.Path(__file__).resolve().parent.parent
EXEMPLOS = RAIZ / "exemplos"
ESPERADO = RAIZ / "tests" / "e2e" / "esperado"
CORPUS = RAIZ / "fuzz" / "corpus"
SEP = b"\x1e"


def exemplo(nome: str) -> bytes:
    return (EXEMPLOS / nome).read_bytes()


def distancias_completas(n: int) -> bytes:
    linhas = [f"{i}, {j}, {100 * i + j}\n" for i in range(1, n + 1) for j in range(1, n + 1) if i != j]
    return "".join(linhas).encode()


def nomes(n: int) -> bytes:
    return "".join(f"Time{t}\n" for t in range(1, n + 1)).encode()


BOM = b"\xef\xbb\xbf"
D4 = distancias_completas(4)
N4 = nomes(4)
BOM_DADOS = b"4, 3\nd.txt\nn.txt\n"

DADOS = [
    exemplo("nordeste.dat"),
    exemplo("brasileirao_2023.dat"),
    exemplo("brasileirao_2023_turno.dat"),
    b"4,3\nd.txt\nn.txt\n",
    b"4,\n3\nd.txt\nn.txt\n",
    b"4, 6 d.txt n.txt",
    b"5, 5\nd.txt\nn.txt",
    b"4, 3\nd.txt\nn.txt\nqualquer coisa\n\x01\n",
    b"4, 3\r\nd.txt\r\nn.txt\r\n",
    BOM + BOM_DADOS,
    b"+6, +10\nd.txt\nn.txt\n",
    b"20 ,19\nd.txt\nn.txt\n",
    b"",
    b"4, 3\n",
    b"4\nd.txt\nn.txt\n",
    b"quatro, 3\n",
    b"-5, 3\nd.txt\nn.txt\n",
    b"2147483648, 3\nd.txt\nn.txt\n",
    b"1000, 5000\nd.txt\nn.txt\n",
    b"4, 3\n" + b"d" * 100 + b"\nn.txt\n",
    b"4, 3\x00d.txt\nn.txt\n",
    b"4, 3\ntabelas\\d.txt\nn.txt\n",
]

DISTANCIAS = [
    bytes([3]) + exemplo("nordeste_distancias.txt"),
    bytes([17]) + exemplo("brasileirao_2023_distancias.txt"),
    bytes([1]) + D4,
    bytes([1]) + b"1, 2, 350\n1,2,400\n3,3,9",
    bytes([1]) + b"1, 2, 5\n1, 2",
    bytes([1]) + b"1 2 5\n",
    bytes([1]) + b"1, 2, 5\n1, x, 3\n",
    bytes([1]) + b"0, 2, 5\n",
    bytes([1]) + b"1, 2, -5\n",
    bytes([1]) + b"1, 2, 715827882\n1, 3, 715827883\n",
    bytes([1]) + b"1, 2, 5\n\x00",
    bytes([1]) + b"1, 2, 99999999999\n",
    bytes([1]) + BOM + b"1,\r\n2,\r\n3\r\n",
    bytes([255]) + b"258, 1, 8346111\n",
]

NOMES = [
    bytes([3]) + exemplo("nordeste_nomes.txt"),
    bytes([17]) + exemplo("brasileirao_2023_nomes.txt"),
    bytes([1]) + N4,
    bytes([1]) + b"Um Dois",
    bytes([0]) + "Grêmio\r\nSão-Paulo\r\nAvaí\r\n".encode(),
    bytes([0]) + b"Gr\xeamio S\xe3o-Paulo Ava\xed",
    bytes([1]) + b"A B C D E\n",
    bytes([1]) + b"A " + b"x" * 100,
    bytes([1]) + "A Euro€ C".encode(),
    bytes([1]) + BOM + "Ceará\n".encode(),
    bytes([1]) + b"A\x85B C",
]

PESO = [bytes([c]) + t for c, t in [
    (0, b"1000000000"), (1, b"1000000000"), (2, b" 12.5 "), (3, b"\t12,5"), (4, b"1e3"), (5, b"-2,5E+2"),
    (6, b"-2147483648"), (7, b"2147483647,99"), (8, b"2147483648"), (9, b"abc"), (10, b""), (11, b"+"),
    (12, b".5"), (13, b"5,"), (14, b"1e-400"), (15, b"1e400"), (16, "1,5".encode()), (17, b"0x10"),
]]


def carga(dados: bytes, dist: bytes, nom: bytes) -> bytes:
    return dados + SEP + dist + SEP + nom


CARGA = [
    carga(b"6, 10\nd.txt\nn.txt\n", exemplo("nordeste_distancias.txt"), exemplo("nordeste_nomes.txt")),
    carga(b"20, 38\nd.txt\nn.txt\n", exemplo("brasileirao_2023_distancias.txt"), exemplo("brasileirao_2023_nomes.txt")),
    carga(b"5, 7\nd.txt\nn.txt\n", distancias_completas(5), nomes(5)),
    carga(b"4, 3\nd.txt\nfalta.txt\n", D4, N4),
    carga(b"4, 3\nfalta.txt\nn.txt\n", D4, N4),
    carga(b"4, 3\n.\nn.txt\n", D4, N4),
    carga(b"4, 3\nc.dat\nc.dat\n", D4, N4),
    carga(b"4, 3\nd.txt\nn.txt\n", b"1, 2, 5\n1, 2", N4),
    carga(b"4, 3\nd.txt\nn.txt\n", D4, b"A B C D E\n"),
    carga(b"4, 3\nd0.txt\nn0.txt\n", b"", b""),
]


def nomes_do_exemplo(nome: str) -> list:
    return exemplo(nome).decode("latin-1" if nome.startswith("nordeste") else "utf-8").split()


def rodada(k: int, jogos: list) -> str:
    return f">>>>>>>>\t{k}\u00aa RODADA\t<<<<<<<<\r\n\r\n" + "".join(f"{a}\tX\t{b}\r\n" for a, b in jogos) + "\r\n\r\n"


def rodizio(times: list) -> str:
    """A compact single round robin by the circle method, as a result file's round blocks."""
    t = list(times)
    texto = ""
    for k in range(len(t) - 1):
        jogos = [(t[i], t[-1 - i]) if (k + i) % 2 == 0 else (t[-1 - i], t[i]) for i in range(len(t) // 2)]
        texto += rodada(k + 1, jogos)
        t = [t[0]] + [t[-1]] + t[1:-1]
    return texto


NORDESTE = nomes_do_exemplo("nordeste_nomes.txt")
RODIZIO_NE = rodizio(NORDESTE)


def ne(texto: str, codificacao: str = "latin-1") -> bytes:
    return bytes([0]) + texto.encode(codificacao)


def ne_trocado(velho: str, novo: str) -> bytes:
    return ne(RODIZIO_NE.replace(velho, novo, 1))


PRIMEIRO_JOGO = f"{NORDESTE[0]}\tX\t{NORDESTE[-1]}\r\n"
RESULTADO = [
    bytes([0 if f.name.startswith("nordeste") else 1]) + f.read_bytes() for f in sorted(ESPERADO.glob("*.txt"))
] + [
    bytes([2]) + rodizio(nomes_do_exemplo("brasileirao_24_clubes_nomes.txt")).encode("latin-1"),
    ne(RODIZIO_NE),
    ne(RODIZIO_NE, "utf-8"),
    ne("\ufeffInv1:\t999\nFO_STAR:\t-1\nTempo:\tx\n\n" + RODIZIO_NE.replace("\r\n", " \t\t\n"), "utf-8"),
    ne(""),
    ne(" \r\n\t\r\n"),
    ne("Inv1:\t0\r\nFO_STAR:\t1\r\nTempo:\t00:00:01\r\n"),
    ne_trocado(PRIMEIRO_JOGO, f"{NORDESTE[0]}\tX\tFlamengo\r\n"),
    ne_trocado(PRIMEIRO_JOGO, f"{NORDESTE[0]}\tX\t{NORDESTE[0]}\r\n"),
    ne_trocado(PRIMEIRO_JOGO, PRIMEIRO_JOGO * 2),
    ne_trocado(PRIMEIRO_JOGO, ""),
    ne_trocado("2\u00aa RODADA", "4\u00aa RODADA"),
    ne(RODIZIO_NE + rodada(11, [])),
    ne(RODIZIO_NE + rodada(99999999999, [])),
    ne_trocado(PRIMEIRO_JOGO, f"{NORDESTE[0]} x {NORDESTE[-1]}\r\n"),
    ne_trocado(PRIMEIRO_JOGO, f"{NORDESTE[0]}\tX\tS\x01port\r\n"),
    ne_trocado("\r\n\r\n>>>>>>>>\t2", f"{NORDESTE[1]}\tX\t{NORDESTE[2]}\r\n\r\n>>>>>>>>\t2"),
    bytes([0]) + "Inv1:\t0\n".encode("utf-16"),
]


def ne_requisitos(texto: str, codificacao: str = "utf-8") -> bytes:
    return bytes([0]) + texto.encode(codificacao)


# The bundled requirements of the 20 clubs (38 rounds: the season of the turno, or the
# 38-round championship itself), and for the 6 clubs of nordeste (10 rounds, 20 in a season)
# every kind, the spellings the reader accepts and each refusal of the hostile-file table.
REQUISITOS = [
    bytes([1]) + exemplo("brasileirao_2023_requisitos.txt"),
    bytes([2]) + exemplo("brasileirao_2023_requisitos.txt"),
    ne_requisitos("# todos os tipos\ncasa Bahia rodadas 1-3,19\nfora Vitória rodadas 4\n"
                  "maximo 1 Ceará Fortaleza\nmáximo 2 Bahia Vitória Sport rodadas 1-20\n"
                  "jogo Náutico Sport rodadas 5,6\nencontro Bahia Ceará rodadas 7 , 8\n"
                  "sem-encontro Ceará Fortaleza rodadas 9-10,19-20  # clássico\n"),
    ne_requisitos("casa Vitória rodadas 1\r\n\tfora\tCeará\trodadas\t2-3\r\n", "latin-1"),
    ne_requisitos("\ufeffencontro Sport Náutico rodadas 11-20\n"),
    ne_requisitos(""),
    ne_requisitos("# só um comentário"),
    ne_requisitos("casa Bahia rodadas 1\nfora Flamengo rodadas 2\n"),
    ne_requisitos("casa Bahia rodadas 3,21\n"),
    ne_requisitos("encontro Bahia Vitória rodadas 9\nencontro Ceará Sport rodadas 11-12\n"),
    ne_requisitos("fora Sport rodadas 0-2"),
    ne_requisitos("casa Sport rodadas 3-1"),
    ne_requisitos("casa Sport rodadas 1,,2"),
    ne_requisitos("casa Sport rodadas"),
    ne_requisitos("casa Sport"),
    ne_requisitos("jogo Bahia rodadas 3"),
    ne_requisitos("jogo Bahia Bahia rodadas 3"),
    ne_requisitos("maximo 2 Bahia Vitória"),
    ne_requisitos("maximo x Bahia Vitória"),
    ne_requisitos("maximo 1 Bahia Bahia"),
    ne_requisitos("mando Bahia rodadas 1"),
    ne_requisitos("casa Bahia rodadas 1-3\n\nfora Bahia rodadas 3\n"),
    ne_requisitos("jogo Bahia Vitória rodadas 4\njogo Ceará Bahia rodadas 4\n"),
    ne_requisitos("fora Ceará rodadas 5\njogo Ceará Sport rodadas 5\n"),
    ne_requisitos("casa Sport rodadas 5-6\njogo Ceará Sport rodadas 5,6\n"),
    ne_requisitos("maximo 1 Ceará Fortaleza\ncasa Ceará rodadas 2\ncasa Fortaleza rodadas 1-2\n"),
    ne_requisitos("sem-encontro Bahia Vitória rodadas 9-10\nencontro Vitória Bahia rodadas 10\n"),
    ne_requisitos("casa Bahia rodadas 99999999999"),
    ne_requisitos("casa Bahia rodadas 1\x00"),
]


def grava(alvo: str, entradas: list) -> None:
    pasta = CORPUS / alvo
    pasta.mkdir(parents=True, exist_ok=True)
    for entrada in entradas:
        (pasta / hashlib.sha1(entrada).hexdigest()).write_bytes(entrada)


def main() -> None:
    for alvo, entradas in [("dados", DADOS), ("distancias", DISTANCIAS), ("nomes", NOMES), ("peso", PESO),
                           ("carga", CARGA), ("resultado", RESULTADO), ("requisitos", REQUISITOS)]:
        grava(alvo, entradas)
        print(f"{alvo}: {len(entradas)} entradas")


if __name__ == "__main__":
    main()

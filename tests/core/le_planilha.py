#!/usr/bin/env python3
"""Reads back a workbook written by KELM beside the result file of the same schedule, or
beside another workbook, cell by cell, and prints what differs (exit status 1), or nothing (0).

    le_planilha.py PLANILHA.xlsx RESULTADO.txt RODADA_DO_RETURNO   (from 1; 0 for a single turno)
    le_planilha.py --iguais PLANILHA.xlsx OUTRA.xlsx
"""
import datetime
import sys

import openpyxl

CASA = {'FFC8E6C9', 'FF66BB6A'}
FORA = {'FFFFE0B2', 'FFFFA726'}


def le_resultado(caminho):
    """The counts, the games (round, home, away) and the rounds' dates of a result file, as its
    bytes say."""
    contagens, jogos, rodada, datas = {}, [], 0, {}
    for linha in open(caminho, 'rb').read().decode('latin-1').split('\r\n'):
        campos = linha.split('\t')
        if campos[0] == 'Data:':
            quando = datetime.datetime.strptime(' '.join(campos[1:]), '%d/%m/%Y %H:%M' if len(campos) > 2 else '%d/%m/%Y')
            datas[rodada] = quando
        elif len(campos) == 2 and campos[0].endswith(':'):
            contagens[campos[0][:-1]] = campos[1]
        elif len(campos) == 3 and campos[0] == '>>>>>>>>':
            rodada = int(campos[1].split('ª')[0])
        elif len(campos) == 3 and campos[1] == 'X':
            jogos.append((rodada, campos[0], campos[2]))
    return contagens, jogos, datas


def iguais(a, b):
    """The cells in which two workbooks differ, sheet by sheet."""
    livros = openpyxl.load_workbook(a), openpyxl.load_workbook(b)
    if livros[0].sheetnames != livros[1].sheetnames:
        return [f'abas {livros[0].sheetnames} e {livros[1].sheetnames}']
    erros = []
    for nome in livros[0].sheetnames:
        folhas = [livro[nome] for livro in livros]
        for linha in range(1, max(f.max_row for f in folhas) + 1):
            for coluna in range(1, max(f.max_column for f in folhas) + 1):
                valores = [f.cell(linha, coluna).value for f in folhas]
                if valores[0] != valores[1]:
                    erros.append(f'{nome}!{openpyxl.utils.get_column_letter(coluna)}{linha}: {valores[0]!r} e {valores[1]!r}')
    return erros


def main():
    if sys.argv[1] == '--iguais':
        erros = iguais(sys.argv[2], sys.argv[3])
        print('\n'.join(erros[:20]))
        return 1 if erros else 0
    livro = openpyxl.load_workbook(sys.argv[1])
    contagens, jogos, datas = le_resultado(sys.argv[2])
    returno = int(sys.argv[3])
    erros = []

    def confere(certo, texto):
        if not certo:
            erros.append(texto)

    confere(livro.sheetnames == ['Jogos', 'Mandos', 'Contagens', 'Ocorrências'], f'abas {livro.sheetnames}')
    for folha in livro:
        confere(folha.freeze_panes in ('A2', 'B2'), f'{folha.title}: cabeçalho não fixo ({folha.freeze_panes})')
        for coluna in range(1, folha.max_column + 1):
            letra = openpyxl.utils.get_column_letter(coluna)
            confere(folha.column_dimensions[letra].customWidth, f'{folha.title}: coluna {letra} sem largura')

    # The dates, when the result has them, in a column of real dates after the round's.
    cabecalho = [c.value for c in livro['Jogos'][1]]
    confere(cabecalho == ['Rodada'] + (['Data'] if datas else []) + ['Jogo', 'Mandante', 'Visitante'],
            f'colunas de Jogos: {cabecalho}')
    lidos = [dict(zip(cabecalho, l)) for l in livro['Jogos'].iter_rows(min_row=2, values_only=True)]
    confere([(l['Rodada'], l['Mandante'], l['Visitante']) for l in lidos] == jogos,
            'a aba Jogos não lista os jogos do arquivo de resultado')
    confere(all(isinstance(l['Rodada'], int) and isinstance(l['Jogo'], int) for l in lidos), 'rodada ou jogo como texto')
    confere(not datas or all(l['Data'] == datas[l['Rodada']] for l in lidos), 'datas da aba Jogos')

    valores = {l[0]: l[2] for l in livro['Contagens'].iter_rows(min_row=2, values_only=True) if l[0]}
    somas = {}
    for inv, _, _, valor, _ in livro['Ocorrências'].iter_rows(min_row=2, values_only=True):
        somas[inv] = somas.get(inv, 0) + valor
    # The tenth count, the planner's requirements, in both or in neither.
    confere(('Inv10' in contagens) == ('Inviabilidade 10' in valores), 'a Inviabilidade 10 num só dos arquivos')
    for k in range(1, 11 if 'Inv10' in contagens else 10):
        no_txt = float(contagens[f'Inv{k}'])
        na_planilha = valores.get(f'Inviabilidade {k}')
        confere(type(na_planilha) in (int, float) and na_planilha == no_txt,
                f'Inviabilidade {k}: {na_planilha!r} na planilha, {no_txt} no arquivo')
        confere(somas.get(k, 0) == no_txt, f'as ocorrências da Inviabilidade {k} somam {somas.get(k, 0)}')
    confere(valores['FO_STAR'] == float(contagens['FO_STAR']), f'FO_STAR {valores["FO_STAR"]!r}')
    # FO_STAR is the weighted sum of the counts marked as objectives.
    marcadas = sum(l[2] * l[3] for l in livro['Contagens'].iter_rows(min_row=2, values_only=True) if l[4] == 'Sim')
    confere(marcadas == valores['FO_STAR'], f'as inviabilidades marcadas como objetivo somam {marcadas}')

    # Every game at both of its teams' rows, in its round's column, by the colour of its venue
    # (grey for a team with two games in the round).
    mandos = livro['Mandos']
    linha_de = {mandos.cell(l, 1).value: l for l in range(2, mandos.max_row + 1) if mandos.cell(l, 1).value}
    for rodada, casa, fora in jogos:
        for time, adversario, cores in ((casa, fora, CASA), (fora, casa, FORA)):
            celula = mandos.cell(linha_de[time], rodada + 1)
            adversarios = str(celula.value).split(' / ')
            confere(adversario in adversarios and (celula.fill.fgColor.rgb in cores) == (len(adversarios) == 1),
                    f'Mandos, {time} na rodada {rodada}: {celula.value!r} {celula.fill.fgColor.rgb}')
            confere((celula.border.left.style == 'thick') == (rodada == returno),
                    f'Mandos, rodada {rodada}: linha do returno {celula.border.left.style}')

    print('\n'.join(erros[:20]))
    return 1 if erros else 0


if __name__ == '__main__':
    sys.exit(main())

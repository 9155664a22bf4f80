#!/usr/bin/env python3
"""Reads back, with another program's parser, the calendars KELM exported beside the result
file of the same schedule, and prints what differs (exit status 1), or nothing (0).

    le_ical.py PASTA RESULTADO.txt CAMPEONATO.ics [PASTA_ANTERIOR]

With PASTA_ANTERIOR, the export before a re-plan: the same UIDs, every moved game with the
next SEQUENCE and its new date, every other event exactly as it was.
"""
import datetime
import os
import sys

import icalendar


def le_resultado(caminho):
    """The games (round, home, away) and the rounds' dates and times of a result file."""
    jogos, datas, rodada = [], {}, 0
    for linha in open(caminho, 'rb').read().decode('latin-1').split('\r\n'):
        campos = linha.split('\t')
        if campos[0] == '>>>>>>>>':
            rodada = int(campos[1].split('ª')[0])
        elif campos[0] == 'Data:':
            dia = datetime.datetime.strptime(campos[1], '%d/%m/%Y').date()
            hora = datetime.datetime.strptime(campos[2], '%H:%M').time() if len(campos) > 2 else None
            datas[rodada] = (dia, hora)
        elif len(campos) == 3 and campos[1] == 'X':
            jogos.append((rodada, campos[0], campos[2]))
    return jogos, datas


def eventos(caminho):
    with open(caminho, 'rb') as f:
        return list(icalendar.Calendar.from_ical(f.read()).walk('VEVENT'))


def main():
    pasta, resultado, campeonato = sys.argv[1:4]
    anterior = sys.argv[4] if len(sys.argv) > 4 else None
    jogos, datas = le_resultado(resultado)
    erros = []

    def confere(certo, texto):
        if not certo:
            erros.append(texto)

    todos = eventos(os.path.join(pasta, campeonato))
    por_resumo = {str(e['SUMMARY']): e for e in todos}
    confere(len(todos) == len(jogos) == len(por_resumo), f'{len(todos)} eventos para {len(jogos)} jogos')
    confere(len({str(e['UID']) for e in todos}) == len(todos), 'UIDs repetidos')
    for rodada, casa, fora in jogos:
        e = por_resumo.get(f'{casa} x {fora}')
        dia, hora = datas[rodada]
        inicio = e['DTSTART'].dt if e else None
        if hora is None:
            confere(inicio == dia, f'{casa} x {fora}: {inicio} em vez de {dia}')
        else:
            confere(isinstance(inicio, datetime.datetime) and inicio.date() == dia and inicio.time() == hora
                    and e['DTSTART'].params.get('TZID') == 'America/Sao_Paulo',
                    f'{casa} x {fora}: {inicio} em vez de {dia} {hora}')

    times = sorted({t for _, casa, fora in jogos for t in (casa, fora)})
    arquivos = sorted(a for a in os.listdir(pasta) if a != campeonato)
    confere(len(arquivos) == len(times), f'{len(arquivos)} arquivos de times para {len(times)} times')
    for arquivo in arquivos:
        do_time = eventos(os.path.join(pasta, arquivo))
        nomes = [set(str(e['SUMMARY']).split(' x ')) for e in do_time]
        comum = set.intersection(*nomes) if nomes else set()
        confere(len(do_time) == 2 * (len(times) - 1) and len(comum) == 1, f'{arquivo}: {len(do_time)} jogos, {comum}')
        for e in do_time:
            confere(e.to_ical() == por_resumo[str(e['SUMMARY'])].to_ical(), f'{arquivo}: {e["SUMMARY"]} difere')

    if anterior:
        antes = {str(e['UID']): e for e in eventos(os.path.join(anterior, campeonato))}
        agora = {str(e['UID']): e for e in todos}
        confere(set(antes) == set(agora), 'os UIDs mudaram')
        movidos = 0
        for uid in set(antes) & set(agora):
            a, b = antes[uid], agora[uid]
            if a['DTSTART'].dt != b['DTSTART'].dt:
                movidos += 1
                confere(int(b['SEQUENCE']) == int(a['SEQUENCE']) + 1, f'{uid}: SEQUENCE {b["SEQUENCE"]}')
            else:
                confere(a.to_ical() == b.to_ical(), f'{uid}: mudou sem mudar de data')
        confere(movidos > 0, 'nenhum jogo mudou de data')
        print(f'movidos: {movidos}', file=sys.stderr)

    print('\n'.join(erros[:20]))
    return 1 if erros else 0


if __name__ == '__main__':
    sys.exit(main())

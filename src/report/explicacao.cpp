#include "report/explicacao.hpp"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

namespace kelm {

std::string junta(const std::vector<std::string>& partes)
{
    std::string texto;
    for (std::size_t k = 0; k < partes.size(); ++k) {
        if (k > 0) texto += k + 1 == partes.size() ? " e " : ", ";
        texto += partes[k];
    }
    return texto;
}

std::string nas_rodadas(const std::vector<int>& rodadas, const char* uma, const char* varias)
{
    std::vector<std::string> numeros;
    for (const int r : rodadas) numeros.push_back(std::to_string(r + 1));
    return (rodadas.size() == 1 ? uma : varias) + junta(numeros);
}

std::string nas_datas(const std::vector<int>& rodadas, const Calendario* calendario, const char* uma,
                      const char* varias, const char* datadas)
{
    if (calendario == nullptr || !calendario->em_vigor()) return nas_rodadas(rodadas, uma, varias);
    std::vector<std::string> dias;
    for (const int r : rodadas) dias.push_back(rodada_datada(calendario, r));
    return (rodadas.size() == 1 ? "em " : datadas) + junta(dias);
}

namespace {

// One game as one of its teams sees it.
struct JogoDoTime {
    PosicaoJogo posicao;
    bool em_casa = false;
    int sede = 0;
};

using JogosDosTimes = std::vector<std::vector<JogoDoTime>>;  // index 1 to N, schedule order

std::string vezes(int n)
{
    return n == 2 ? "duas vezes" : n == 3 ? "três vezes" : std::to_string(n) + " vezes";
}

std::string jogos(int n) { return std::to_string(n) + (n == 1 ? " jogo" : " jogos"); }

std::string lugar(bool em_casa) { return em_casa ? "em casa" : "fora de casa"; }

// Two games in a row, home or away: "dois jogos em casa", "um jogo fora e outro em casa".
std::string par(bool primeiro_em_casa, bool segundo_em_casa)
{
    if (primeiro_em_casa == segundo_em_casa) return "dois jogos " + lugar(primeiro_em_casa);
    return primeiro_em_casa ? "um jogo em casa e outro fora" : "um jogo fora e outro em casa";
}

class Explicador {
public:
    Explicador(const Campeonato& campeonato, const Tabela& tabela, Explicacao& explicacao, const Calendario* calendario)
        : campeonato_(campeonato), tabela_(tabela), e_(explicacao), calendario_(calendario)
    {
    }

    void explica()
    {
        junta_jogos();
        for (int t = 1; t <= campeonato_.num_times; ++t) {
            conta_rodadas(t);
            conta_inicio_fim(t);
            conta_mandos(t);
            conta_sequencias(t);
            conta_distancia(t);
        }
        conta_mesmo_estado();
        conta_diferenca_distancia();
        std::stable_sort(e_.ocorrencias.begin(), e_.ocorrencias.end(), [](const Ocorrencia& a, const Ocorrencia& b) {
            return a.inviabilidade != b.inviabilidade ? a.inviabilidade < b.inviabilidade : a.time < b.time;
        });
        for (const LinhaTime& linha : e_.times)
            for (std::size_t i = 0; i < num_contagens; ++i) e_.contagens[i] += static_cast<double>(linha.parcelas[i]);
    }

private:
    const std::string& nome(int t) const { return campeonato_.nomes_times[static_cast<std::size_t>(t)]; }
    LinhaTime& linha(int t) { return e_.times[static_cast<std::size_t>(t - 1)]; }
    const std::vector<JogoDoTime>& jogos_de(int t) const { return jogos_[static_cast<std::size_t>(t)]; }

    void junta_jogos()
    {
        const int n = campeonato_.num_times;
        const int r_total = campeonato_.num_rodadas;
        jogos_.assign(static_cast<std::size_t>(n) + 1, {});
        e_.times.assign(static_cast<std::size_t>(n), {});
        for (int t = 1; t <= n; ++t) {
            linha(t).time = t;
            linha(t).sequencia.assign(static_cast<std::size_t>(r_total), {});
        }
        for (int r = 0; r < r_total; ++r) {
            for (int g = 0; g < campeonato_.jogos_por_rodada(); ++g) {
                const Jogo jogo = tabela_[r][g];
                if (jogo.vazio()) continue;
                for (const int t : {jogo.mandante(), jogo.visitante()}) {
                    const bool em_casa = t == jogo.mandante();
                    jogos_[static_cast<std::size_t>(t)].push_back({{r, g}, em_casa, jogo.mandante()});
                    linha(t).sequencia[static_cast<std::size_t>(r)] += em_casa ? 'C' : 'F';
                    ++(em_casa ? linha(t).jogos_casa : linha(t).jogos_fora);
                }
            }
        }
        for (LinhaTime& l : e_.times)
            for (std::string& s : l.sequencia)
                if (s.empty()) s = "-";
    }

    Ocorrencia& ocorrencia(Inviabilidade i, int t, long long valor, std::string frase)
    {
        linha(t).parcelas[static_cast<std::size_t>(i)] += valor;
        Ocorrencia o;
        o.inviabilidade = i;
        o.time = t;
        o.valor = valor;
        o.frase = std::move(frase);
        e_.ocorrencias.push_back(std::move(o));
        return e_.ocorrencias.back();
    }

    // Adds a game to the occurrence, with its note when `nota` is not empty.
    static void envolve(Ocorrencia& o, const PosicaoJogo& p, const std::string& nome_time, const std::string& nota)
    {
        if (o.rodadas.empty() || o.rodadas.back() != p.rodada) o.rodadas.push_back(p.rodada);
        o.jogos.push_back({p, nota.empty() ? std::string() : nome_time + ": " + nota + " (Inviabilidade " +
                                                             std::to_string(static_cast<int>(o.inviabilidade) + 1) + ")"});
    }

    // Inviabilidade 1: every round in which the team plays more than once.
    void conta_rodadas(int t)
    {
        const auto& js = jogos_de(t);
        for (std::size_t k = 0; k < js.size();) {
            std::size_t fim = k;
            while (fim < js.size() && js[fim].posicao.rodada == js[k].posicao.rodada) ++fim;
            const int quantos = static_cast<int>(fim - k);
            if (quantos > 1) {
                const std::string rodada = std::to_string(js[k].posicao.rodada + 1);
                Ocorrencia& o = ocorrencia(Inviabilidade::jogos_na_rodada, t, quantos - 1,
                                           nome(t) + " joga " + vezes(quantos) + " " +
                                               nas_datas({js[k].posicao.rodada}, calendario_));
                for (std::size_t j = k; j < fim; ++j)
                    envolve(o, js[j].posicao, nome(t), "joga " + vezes(quantos) + " na rodada " + rodada);
            }
            k = fim;
        }
    }

    // Inviabilidades 2 and 3: the first two games, and the last two after a mixed start.
    void conta_inicio_fim(int t)
    {
        const auto& js = jogos_de(t);
        if (js.size() < 2) return;
        const JogoDoTime& a = js[0];
        const JogoDoTime& b = js[1];
        if (a.em_casa == b.em_casa) {
            Ocorrencia& o = ocorrencia(Inviabilidade::inicio, t, 1,
                                       nome(t) + " começa com " + par(a.em_casa, b.em_casa) + ", " +
                                           nas_datas(rodadas_de({a, b}), calendario_));
            for (const auto& j : {a, b}) envolve(o, j.posicao, nome(t), "começa com " + par(a.em_casa, b.em_casa));
            return;
        }
        const JogoDoTime& y = js[js.size() - 2];
        const JogoDoTime& z = js[js.size() - 1];
        if (y.em_casa == a.em_casa && z.em_casa == b.em_casa) return;
        Ocorrencia& o = ocorrencia(Inviabilidade::fim, t, 1,
                                   nome(t) + " começa com " + par(a.em_casa, b.em_casa) + ", " +
                                       nas_datas(rodadas_de({a, b}), calendario_) + ", mas termina com " +
                                       par(y.em_casa, z.em_casa) + ", " + nas_datas(rodadas_de({y, z}), calendario_));
        for (const auto& j : {y, z}) envolve(o, j.posicao, nome(t), "não termina como começou");
    }

    static std::vector<int> rodadas_de(std::initializer_list<JogoDoTime> js)
    {
        std::vector<int> rodadas;
        for (const auto& j : js)
            if (rodadas.empty() || rodadas.back() != j.posicao.rodada) rodadas.push_back(j.posicao.rodada);
        return rodadas;
    }

    // Inviabilidade 4: home games differ from away games.
    void conta_mandos(int t)
    {
        const LinhaTime& l = linha(t);
        const int diferenca = std::abs(l.jogos_casa - l.jogos_fora);
        if (diferenca > 0)
            ocorrencia(Inviabilidade::mandos, t, diferenca,
                       nome(t) + " tem " + jogos(l.jogos_casa) + " em casa e " + std::to_string(l.jogos_fora) + " fora");
    }

    // Inviabilidades 6 and 7: every run of more than two away or home games.
    void conta_sequencias(int t)
    {
        const auto& js = jogos_de(t);
        for (std::size_t k = 0; k < js.size();) {
            std::size_t fim = k;
            while (fim < js.size() && js[fim].em_casa == js[k].em_casa) ++fim;
            const int tamanho = static_cast<int>(fim - k);
            if (tamanho > 2) {
                const bool em_casa = js[k].em_casa;
                Ocorrencia& o =
                    ocorrencia(em_casa ? Inviabilidade::casa_seguidos : Inviabilidade::fora_seguidos, t, tamanho - 2, {});
                for (std::size_t j = k; j < fim; ++j) {
                    const std::size_t ordem = j - k + 1;
                    envolve(o, js[j].posicao, nome(t),
                            ordem > 2 ? std::to_string(ordem) + "º jogo seguido " + lugar(em_casa) : std::string());
                }
                if (o.rodadas.size() == static_cast<std::size_t>(tamanho))
                    o.frase = nome(t) + " joga " + lugar(em_casa) + " " + nas_datas(o.rodadas, calendario_);
                else
                    o.frase = nome(t) + " joga " + vezes(tamanho) + " seguidas " + lugar(em_casa) + ", " +
                              nas_datas(o.rodadas, calendario_);
            }
            k = fim;
        }
    }

    // Inviabilidade 8: the team's travel, over the same legs as calcula_distancias.
    void conta_distancia(int t)
    {
        long long km = 0;
        int onde = t;
        for (const JogoDoTime& j : jogos_de(t)) {
            km += campeonato_.matriz_distancias[onde][j.sede];
            onde = j.sede;
        }
        linha(t).km = km;
        if (km > 0) ocorrencia(Inviabilidade::distancia_total, t, km, nome(t) + " percorre " + std::to_string(km) + " km");
    }

    // Inviabilidade 5: games of the last round between teams of the same state, charged to
    // the home team. The distance is read as conta_mesmo_estado reads it.
    void conta_mesmo_estado()
    {
        const int r = campeonato_.num_rodadas - 1;
        for (int g = 0; g < campeonato_.jogos_por_rodada(); ++g) {
            const Jogo jogo = tabela_[r][g];
            if (jogo.vazio() || campeonato_.matriz_distancias[std::abs(jogo.time1)][jogo.time2] != 0) continue;
            Ocorrencia& o = ocorrencia(Inviabilidade::mesmo_estado, jogo.mandante(), 1,
                                       nome(jogo.mandante()) + " e " + nome(jogo.visitante()) +
                                           ", do mesmo estado, jogam na última rodada");
            envolve(o, {r, g}, nome(jogo.mandante()) + " e " + nome(jogo.visitante()), "mesmo estado na última rodada");
        }
    }

    // Inviabilidade 9: the largest travel minus the smallest, all of it charged to the first
    // team that travels most.
    void conta_diferenca_distancia()
    {
        long long maior = 0;
        long long menor = 0;
        int dono = 0;
        for (const LinhaTime& l : e_.times) {
            if (dono == 0 || l.km > maior) {
                maior = l.km;
                dono = l.time;
            }
            if (l.time == 1 || l.km < menor) menor = l.km;
        }
        const long long diferenca = maior - menor;
        if (diferenca <= 0) return;
        std::vector<std::string> mais;
        std::vector<std::string> menos;
        for (const LinhaTime& l : e_.times) {
            if (l.km == maior) mais.push_back(nome(l.time));
            if (l.km == menor) menos.push_back(nome(l.time));
        }
        const auto verbo = [](const std::vector<std::string>& v) { return v.size() == 1 ? " percorre " : " percorrem "; };
        ocorrencia(Inviabilidade::diferenca_distancia, dono, diferenca,
                   junta(mais) + verbo(mais) + "mais, " + std::to_string(maior) + " km, e " + junta(menos) + verbo(menos) +
                       "menos, " + std::to_string(menor) + " km: " + std::to_string(diferenca) + " km de diferença");
    }

    const Campeonato& campeonato_;
    const Tabela& tabela_;
    Explicacao& e_;
    const Calendario* calendario_;
    JogosDosTimes jogos_;
};

}  // namespace

Explicacao explica_tabela(const Campeonato& campeonato, const Tabela& tabela, const Requisitos* requisitos,
                          const Tabela* partida, const Calendario* calendario)
{
    Explicacao explicacao;
    Explicador(campeonato, tabela, explicacao, calendario).explica();
    if (requisitos != nullptr && requisitos->em_vigor())
        explica_requisitos(campeonato, tabela, *requisitos, explicacao, calendario);
    if (partida != nullptr) explica_mudancas(campeonato, tabela, *partida, explicacao);
    return explicacao;
}

void explica_mudancas(const Campeonato& campeonato, const Tabela& tabela, const Tabela& partida, Explicacao& explicacao)
{
    explicacao.vistas.mudancas = true;
    const int n = campeonato.num_times;
    // Where each game (home team, visitor) stands now: its round and slot.
    std::vector<PosicaoJogo> onde(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1), PosicaoJogo{-1, -1});
    const auto indice = [n](int mandante, int visitante) {
        return static_cast<std::size_t>(mandante) * static_cast<std::size_t>(n + 1) + static_cast<std::size_t>(visitante);
    };
    for (int s = 0; s < tabela.linhas(); ++s)
        for (int g = 0; g < tabela.colunas(); ++g)
            if (const Jogo j = tabela[s][g]; !j.vazio()) onde[indice(j.mandante(), j.visitante())] = {s, g};
    const auto nome = [&](int t) { return campeonato.nomes_times[static_cast<std::size_t>(t)]; };
    for (int s = 0; s < partida.linhas(); ++s)
        for (int g = 0; g < partida.colunas(); ++g) {
            const Jogo j = partida[s][g];
            if (j.vazio()) continue;
            const PosicaoJogo agora = onde[indice(j.mandante(), j.visitante())];
            if (agora.rodada == s) continue;
            Ocorrencia o;
            o.inviabilidade = Inviabilidade::mudancas;
            o.time = j.mandante();
            o.valor = 1;
            const std::string jogo = nome(j.mandante()) + " x " + nome(j.visitante());
            o.frase = jogo + ": rodada " + std::to_string(s + 1) + " \u2192 ";
            o.rodadas = {s};
            // Where the pair meets now: the same game in another round or, in a schedule where
            // each pair meets once, the other team at home.
            PosicaoJogo onde_esta = agora;
            if (agora.rodada >= 0) {
                o.frase += std::to_string(agora.rodada + 1);
                o.jogos.push_back({agora, jogo + ": veio da rodada " + std::to_string(s + 1) + " (Inviabilidade 11)"});
            } else if (onde_esta = onde[indice(j.visitante(), j.mandante())]; onde_esta.rodada >= 0) {
                o.frase += nome(j.visitante()) + " x " + nome(j.mandante()) + ", rodada " + std::to_string(onde_esta.rodada + 1);
                o.jogos.push_back({onde_esta, "mando invertido: era " + jogo + " na rodada " + std::to_string(s + 1) +
                                                  " (Inviabilidade 11)"});
            } else {
                o.frase += "fora da tabela";
            }
            if (onde_esta.rodada >= 0 && onde_esta.rodada != s) {
                o.rodadas.push_back(onde_esta.rodada);
                std::sort(o.rodadas.begin(), o.rodadas.end());
            }
            explicacao.times[static_cast<std::size_t>(j.mandante() - 1)].parcelas[static_cast<std::size_t>(Inviabilidade::mudancas)] += 1;
            explicacao.contagens[Inviabilidade::mudancas] += 1;
            explicacao.ocorrencias.push_back(std::move(o));
        }
}

std::vector<std::string> notas_do_jogo(const Explicacao& explicacao, PosicaoJogo posicao)
{
    std::vector<std::string> notas;
    for (const Ocorrencia& o : explicacao.ocorrencias)
        for (const JogoEnvolvido& j : o.jogos)
            if (j.posicao == posicao && !j.nota.empty()) notas.push_back(j.nota);
    return notas;
}

}  // namespace kelm

#include "files/icalendario.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <set>

#include <libical/ical.h>

#include "files/carga.hpp"
#include "files/destinos.hpp"
#include "files/resultado.hpp"
#include "files/texto.hpp"

namespace kelm {

namespace {

constexpr const char* fuso = "America/Sao_Paulo";
constexpr std::size_t max_nome_seguro = 60;

// The letters of U+00C0 to U+00FF without their accents ("" for the signs among them).
constexpr const char* sem_acento[64] = {
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",  // C0
    "D", "N", "O", "O", "O", "O", "O",  "",  "O", "U", "U", "U", "U", "Y", "TH", "ss",  // D0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",  // E0
    "d", "n", "o", "o", "o", "o", "o",  "",  "o", "u", "u", "u", "u", "y", "th", "y",  // F0
};

bool reservado_no_windows(const std::string& nome)
{
    static const std::set<std::string> reservados = {"con", "prn", "aux", "nul"};
    if (reservados.contains(nome)) return true;
    return nome.size() == 4 && (nome.starts_with("com") || nome.starts_with("lpt")) && nome[3] >= '0' && nome[3] <= '9';
}

// A libical component, freed with its contents.
struct LiberaComponente {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Componente = std::unique_ptr<icalcomponent, LiberaComponente>;

// A text libical made, freed after it is copied.
std::string texto_de(char* feito)
{
    std::string texto = feito != nullptr ? feito : "";
    icalmemory_free_buffer(feito);
    return texto;
}

// The DTSTART of a round: its date, or its date and time in the championship's time zone.
icalproperty* inicio(const DiaDaRodada& dia)
{
    icaltimetype t = icaltime_null_time();
    t.year = dia.data.ano;
    t.month = dia.data.mes;
    t.day = dia.data.dia;
    if (!dia.hora) {
        t.is_date = 1;
        return icalproperty_new_dtstart(t);
    }
    t.hour = dia.hora->hora;
    t.minute = dia.hora->minuto;
    icalproperty* p = icalproperty_new_dtstart(t);
    icalproperty_add_parameter(p, icalparameter_new_tzid(fuso));
    return p;
}

// The time zone of the rounds' times: Brazil's official time, three hours behind UTC, without
// daylight saving time since 2019.
icalcomponent* fuso_horario()
{
    icalcomponent* vtimezone = icalcomponent_new_vtimezone();
    icalcomponent_add_property(vtimezone, icalproperty_new_tzid(fuso));
    icalcomponent* padrao = icalcomponent_new_xstandard();
    icaltimetype desde = icaltime_null_time();
    desde.year = 1970;
    desde.month = 1;
    desde.day = 1;
    icalcomponent_add_property(padrao, icalproperty_new_dtstart(desde));
    icalcomponent_add_property(padrao, icalproperty_new_tzoffsetfrom(-3 * 3600));
    icalcomponent_add_property(padrao, icalproperty_new_tzoffsetto(-3 * 3600));
    icalcomponent_add_property(padrao, icalproperty_new_tzname("-03"));
    icalcomponent_add_component(vtimezone, padrao);
    return vtimezone;
}

icalcomponent* novo_calendario(const std::string& titulo, bool com_horas)
{
    icalcomponent* c = icalcomponent_new_vcalendar();
    icalcomponent_add_property(c, icalproperty_new_version("2.0"));
    icalcomponent_add_property(c, icalproperty_new_prodid("-//KELM//Tabela de jogos//PT"));
    icalcomponent_add_property(c, icalproperty_new_calscale("GREGORIAN"));
    icalproperty* nome = icalproperty_new_x(titulo.c_str());
    icalproperty_set_x_name(nome, "X-WR-CALNAME");
    icalcomponent_add_property(c, nome);
    if (com_horas) icalcomponent_add_component(c, fuso_horario());
    return c;
}

// One game as an event, or an earlier one cancelled.
struct Evento {
    std::string uid;
    icalproperty* dtstart = nullptr;  // owned until added
    std::string resumo;
    std::string descricao;
    int sequencia = 0;
    bool cancelado = false;
    int mandante = 0;
    int visitante = 0;
};

icalcomponent* vevent(const Evento& e, const icaltimetype& carimbo)
{
    icalcomponent* v = icalcomponent_new_vevent();
    icalcomponent_add_property(v, icalproperty_new_uid(e.uid.c_str()));
    icalcomponent_add_property(v, icalproperty_new_dtstamp(carimbo));
    icalproperty* dtstart = icalproperty_new_clone(e.dtstart);
    const bool com_hora = icalproperty_get_first_parameter(dtstart, ICAL_TZID_PARAMETER) != nullptr;
    icalcomponent_add_property(v, dtstart);
    if (com_hora) {
        icaldurationtype duas_horas = icaldurationtype_null_duration();
        duas_horas.hours = 2;
        icalcomponent_add_property(v, icalproperty_new_duration(duas_horas));
    }
    icalcomponent_add_property(v, icalproperty_new_summary(e.resumo.c_str()));
    if (!e.descricao.empty()) icalcomponent_add_property(v, icalproperty_new_description(e.descricao.c_str()));
    icalcomponent_add_property(v, icalproperty_new_sequence(e.sequencia));
    if (e.cancelado) icalcomponent_add_property(v, icalproperty_new_status(ICAL_STATUS_CANCELLED));
    icalcomponent_add_property(v, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    return v;
}

std::string uid_do_jogo(const ExportacaoIcal& x, int mandante, int visitante)
{
    const auto nome = [&](int t) {
        const std::string& arquivo = x.arquivos_times[static_cast<std::size_t>(t)];
        return arquivo.substr(0, arquivo.size() - 4);  // without ".ics"
    };
    return x.campeonato + "-" + nome(mandante) + "-" + nome(visitante) + "@kelm";
}

}  // namespace

std::string nome_seguro(std::string_view nome)
{
    std::string saida;
    std::size_t pos = 0;
    while (pos < nome.size()) {
        const char32_t c = proximo_caractere(nome, pos);
        std::string letras;
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')
            letras = static_cast<char>(c);
        else if (c >= 'A' && c <= 'Z')
            letras = static_cast<char>(c - 'A' + 'a');
        else if (c >= 0xC0 && c <= 0xFF)
            for (const char l : std::string(sem_acento[c - 0xC0])) letras += static_cast<char>(l >= 'A' && l <= 'Z' ? l - 'A' + 'a' : l);
        if (letras.empty()) {
            if (!saida.empty() && saida.back() != '-') saida += '-';
            continue;
        }
        saida += letras;
    }
    while (!saida.empty() && saida.back() == '-') saida.pop_back();
    if (saida.size() > max_nome_seguro) saida.resize(max_nome_seguro);
    while (!saida.empty() && saida.back() == '-') saida.pop_back();
    if (saida.empty()) return "sem-nome";
    if (reservado_no_windows(saida)) saida += "_";
    return saida;
}

Desfecho confere_pasta_ical(const std::filesystem::path& pasta, const std::string& nome_campeonato)
{
    if (pasta.empty()) return Desfecho::erro(msg_arquivo_nao_salvo, "falta o nome da pasta do calendário.");
    struct stat info{};
    if (::stat(pasta.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode)) return falha_gravacao(pasta, ENOTDIR);
        return confere_destino(pasta / (nome_seguro(nome_campeonato) + ".ics"));
    }
    // A folder still to be made: the first of its folders to be made must be one that its
    // folder takes, as a new file would be (not under /proc, say).
    std::filesystem::path nova = std::filesystem::absolute(pasta);
    while (nova.has_relative_path() && ::stat(nova.parent_path().c_str(), &info) != 0) nova = nova.parent_path();
    if (!S_ISDIR(info.st_mode)) return falha_gravacao(pasta, ENOTDIR);
    return confere_destino(nova);
}

Desfecho prepara_ical(const std::filesystem::path& pasta, const std::string& nome_campeonato,
                      const Campeonato& campeonato, ExportacaoIcal& exportacao)
{
    ExportacaoIcal x;
    x.pasta = pasta;
    x.nome_campeonato = nome_campeonato;
    x.campeonato = nome_seguro(nome_campeonato);
    std::set<std::string> usados;
    const auto unico = [&](const std::string& base) {
        std::string nome = base;
        for (int k = 2; usados.contains(nome); ++k) nome = base + "-" + std::to_string(k);
        usados.insert(nome);
        return nome + ".ics";
    };
    x.arquivo_campeonato = unico(x.campeonato);
    x.arquivos_times.assign(static_cast<std::size_t>(campeonato.num_times) + 1, {});
    for (int t = 1; t <= campeonato.num_times; ++t)
        x.arquivos_times[static_cast<std::size_t>(t)] = unico(nome_seguro(campeonato.nomes_times[static_cast<std::size_t>(t)]));

    const std::filesystem::path anterior = pasta / x.arquivo_campeonato;
    std::error_code ec;
    if (std::filesystem::exists(anterior, ec)) {
        std::string bytes;
        std::string motivo;
        const std::string nome = nome_exibivel(anterior.string());
        const std::string recusa = "O calendário exportado antes não pôde ser lido, e sem ele os eventos que mudaram "
                                   "não seriam atualizados.";
        if (!le_arquivo(anterior, bytes, motivo)) return Desfecho::erro(recusa, nome + ": " + motivo + ".");
        icalerror_set_errors_are_fatal(0);
        const Componente lido(icalparser_parse_string(bytes.c_str()));
        if (!lido || icalcomponent_isa(lido.get()) != ICAL_VCALENDAR_COMPONENT)
            return Desfecho::erro(recusa, nome + ": não é um arquivo iCalendar (.ics); mova-o ou apague-o.");
        for (icalcomponent* e = icalcomponent_get_first_component(lido.get(), ICAL_VEVENT_COMPONENT); e != nullptr;
             e = icalcomponent_get_next_component(lido.get(), ICAL_VEVENT_COMPONENT)) {
            const char* uid = icalcomponent_get_uid(e);
            icalproperty* dtstart = icalcomponent_get_first_property(e, ICAL_DTSTART_PROPERTY);
            const char* resumo = icalcomponent_get_summary(e);
            if (uid == nullptr || dtstart == nullptr) continue;
            ExportacaoIcal::EventoAnterior& a = x.anteriores[uid];
            a.dtstart = texto_de(icalproperty_as_ical_string_r(dtstart));
            a.resumo = resumo != nullptr ? resumo : "";
            a.sequencia = std::max(icalcomponent_get_sequence(e), 0);
            a.cancelado = icalcomponent_get_status(e) == ICAL_STATUS_CANCELLED;
        }
    }
    exportacao = std::move(x);
    return Desfecho::ok();
}

std::vector<std::filesystem::path> arquivos_da_exportacao(const ExportacaoIcal& exportacao)
{
    std::vector<std::filesystem::path> arquivos{exportacao.pasta / exportacao.arquivo_campeonato};
    for (std::size_t t = 1; t < exportacao.arquivos_times.size(); ++t)
        arquivos.push_back(exportacao.pasta / exportacao.arquivos_times[t]);
    return arquivos;
}

std::map<std::string, std::string> textos_ical(const ExportacaoIcal& x, const Campeonato& campeonato, const Tabela& tabela,
                                               const Calendario& calendario)
{
    icalerror_set_errors_are_fatal(0);
    const auto nome = [&](int t) { return campeonato.nomes_times[static_cast<std::size_t>(t)]; };

    // The games in schedule order, then the earlier export's games no longer played.
    std::vector<Evento> eventos;
    std::set<std::string> atuais;
    const int rodadas = std::min(tabela.linhas(), calendario.num_rodadas());
    for (int r = 0; r < rodadas; ++r) {
        for (int g = 0; g < tabela.colunas(); ++g) {
            const Jogo j = tabela[r][g];
            if (j.vazio()) continue;
            Evento e;
            e.mandante = j.mandante();
            e.visitante = j.visitante();
            e.uid = uid_do_jogo(x, e.mandante, e.visitante);
            e.dtstart = inicio(calendario.dia(r));
            e.resumo = nome(e.mandante) + " x " + nome(e.visitante);
            e.descricao = std::to_string(r + 1) + "ª rodada - " + x.nome_campeonato;
            if (const auto a = x.anteriores.find(e.uid); a != x.anteriores.end()) {
                const bool igual = !a->second.cancelado && a->second.dtstart == texto_de(icalproperty_as_ical_string_r(e.dtstart));
                e.sequencia = a->second.sequencia + (igual ? 0 : 1);
            }
            atuais.insert(e.uid);
            eventos.push_back(std::move(e));
        }
    }
    std::map<std::string, std::pair<int, int>> jogo_do_uid;
    for (int a = 1; a <= campeonato.num_times; ++a)
        for (int b = 1; b <= campeonato.num_times; ++b)
            if (a != b) jogo_do_uid[uid_do_jogo(x, a, b)] = {a, b};
    for (const auto& [uid, a] : x.anteriores) {
        if (atuais.contains(uid) || !jogo_do_uid.contains(uid)) continue;
        Evento e;
        e.uid = uid;
        const Componente temporario(icalparser_parse_string(("BEGIN:VEVENT\r\n" + a.dtstart + "END:VEVENT\r\n").c_str()));
        icalproperty* p = temporario ? icalcomponent_get_first_property(temporario.get(), ICAL_DTSTART_PROPERTY) : nullptr;
        if (p == nullptr) continue;
        e.dtstart = icalproperty_new_clone(p);
        e.resumo = a.resumo;
        e.sequencia = a.sequencia + (a.cancelado ? 0 : 1);
        e.cancelado = true;
        std::tie(e.mandante, e.visitante) = jogo_do_uid[uid];
        eventos.push_back(std::move(e));
    }

    icaltimetype carimbo = icaltime_null_time();
    const Data primeiro = calendario.em_vigor() ? calendario.dia(0).data : Data{};
    carimbo.year = primeiro.ano;
    carimbo.month = primeiro.mes;
    carimbo.day = primeiro.dia;
    carimbo.zone = icaltimezone_get_utc_timezone();
    const bool com_horas = std::any_of(calendario.rodadas.begin(), calendario.rodadas.end(),
                                       [](const DiaDaRodada& d) { return d.hora.has_value(); });

    std::map<std::string, std::string> textos;
    for (int t = 0; t <= campeonato.num_times; ++t) {
        const std::string titulo = t == 0 ? x.nome_campeonato : nome(t) + " - " + x.nome_campeonato;
        const Componente c(novo_calendario(titulo, com_horas));
        for (const Evento& e : eventos)
            if (t == 0 || e.mandante == t || e.visitante == t) icalcomponent_add_component(c.get(), vevent(e, carimbo));
        textos[t == 0 ? x.arquivo_campeonato : x.arquivos_times[static_cast<std::size_t>(t)]] =
            texto_de(icalcomponent_as_ical_string_r(c.get()));
    }
    for (Evento& e : eventos) icalproperty_free(e.dtstart);
    return textos;
}

Desfecho grava_ical(const ExportacaoIcal& exportacao, const Campeonato& campeonato, const Tabela& tabela,
                    const Calendario& calendario)
{
    std::error_code ec;
    std::filesystem::create_directories(exportacao.pasta, ec);
    if (ec) return falha_gravacao(exportacao.pasta, ec.value());
    const std::map<std::string, std::string> textos = textos_ical(exportacao, campeonato, tabela, calendario);
    for (const auto& [arquivo, texto] : textos) {
        if (arquivo == exportacao.arquivo_campeonato) continue;
        if (Desfecho d = grava_arquivo(exportacao.pasta / arquivo, texto); !d.sucesso) return d;
    }
    return grava_arquivo(exportacao.pasta / exportacao.arquivo_campeonato, textos.at(exportacao.arquivo_campeonato));
}

}  // namespace kelm

#pragma once

// Builders shared by the core tests.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "caminhos.hpp"
#include "construtores.hpp"
#include "evaluation/avaliacao.hpp"
#include "files/carga.hpp"
#include "model/estado.hpp"
#include "search/busca.hpp"
#include "search/comandos.hpp"
#include "search/observador.hpp"

namespace kelm {

// Readable failure messages for the core's values.
inline void PrintTo(const Contagens& c, std::ostream* os)
{
    *os << "{";
    for (std::size_t i = 0; i < num_inviabilidades; ++i) *os << (i ? ", " : "") << c[i];
    *os << "}";
}

}  // namespace kelm

namespace kelm::teste {

// A folder of its own under the system's temporary folder, removed with everything in it.
class PastaTemporaria {
public:
    PastaTemporaria()
    {
        std::string modelo = (std::filesystem::temp_directory_path() / "kelm-teste-XXXXXX").string();
        if (::mkdtemp(modelo.data()) == nullptr) throw std::runtime_error("mkdtemp");
        caminho_ = modelo;
    }
    ~PastaTemporaria()
    {
        std::error_code ec;
        std::filesystem::permissions(caminho_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(caminho_, ec);
    }
    PastaTemporaria(const PastaTemporaria&) = delete;
    PastaTemporaria& operator=(const PastaTemporaria&) = delete;

    const std::filesystem::path& caminho() const { return caminho_; }

    // Writes `bytes` as they are to `nome` in the folder and returns its path.
    std::filesystem::path escreve(const std::string& nome, std::string_view bytes) const
    {
        const auto p = caminho_ / nome;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream f(p, std::ios::binary);
        f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }

private:
    std::filesystem::path caminho_;
};

inline std::string le_bytes(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// `texto` with every `marca` replaced by `valor`.
inline std::string substitui(std::string texto, const std::string& marca, const std::string& valor)
{
    for (std::size_t p = 0; (p = texto.find(marca, p)) != std::string::npos; p += valor.size())
        texto.replace(p, marca.size(), valor);
    return texto;
}

inline std::filesystem::path exemplo(const std::string& nome) { return std::filesystem::path(pasta_exemplos) / nome; }

// Loads a bundled championship, failing the test when it does not load.
inline Estado carrega_exemplo(const std::string& nome)
{
    Estado e;
    const Desfecho d = carrega_dados(e.campeonato, e.execucao, exemplo(nome));
    EXPECT_TRUE(d.sucesso) << d.texto << " " << d.detalhe;
    return e;
}

// Every objective on, default weights.
inline void todos_objetivos(Estado& e)
{
    e.criterios.objetivos.fill(1);
    e.criterios.objetivos_escolhidos = true;
}

// The reference evaluation of the run's tabela_atual.
inline double avalia(Estado& e)
{
    return avalia_tabela(e.campeonato, e.criterios, e.execucao, e.execucao.tabela_atual);
}

// Records the events of a search, in order.
class Gravador : public Observador {
public:
    std::vector<std::string> eventos;
    std::vector<Andamento> andamentos;
    std::vector<double> candidatas;
    std::vector<std::string> mensagens;

    void execucao_iniciada() override { eventos.push_back("execucao_iniciada"); }
    void calculo_t0_iniciado() override { eventos.push_back("calculo_t0_iniciado"); }
    void temperatura_candidata(double t) override { candidatas.push_back(t); }
    void calculo_t0_concluido() override { eventos.push_back("calculo_t0_concluido"); }
    void fase_iniciada(int fase, double) override { eventos.push_back("fase_iniciada " + std::to_string(fase)); }
    void andamento(const Andamento& a) override { andamentos.push_back(a); }
    void reaquecimento(int n) override { eventos.push_back("reaquecimento " + std::to_string(n)); }
    void bipe() override { eventos.push_back("bipe"); }
    void resultado_disponivel() override { eventos.push_back("resultado_disponivel"); }
    void fase_concluida(int fase) override { eventos.push_back("fase_concluida " + std::to_string(fase)); }
    void mensagem(const std::string& texto) override
    {
        eventos.push_back("mensagem");
        mensagens.push_back(texto);
    }
};

}  // namespace kelm::teste

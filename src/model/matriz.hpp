#pragma once

#include <algorithm>
#include <cstddef>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace kelm {

// Raised when a matrix cannot be allocated; carries the message of the matrix family.
// The command that asked for the matrix catches it and is abandoned.
class ErroAlocacao : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A rectangular matrix held in one contiguous block, indexed [linha][coluna].
template <class T>
class Matriz {
public:
    Matriz() = default;

    int linhas() const { return linhas_; }
    int colunas() const { return colunas_; }
    bool vazia() const { return celulas_.empty(); }

    T* operator[](int linha) { return celulas_.data() + static_cast<std::size_t>(linha) * colunas_; }
    const T* operator[](int linha) const
    {
        return celulas_.data() + static_cast<std::size_t>(linha) * colunas_;
    }

    T* dados() { return celulas_.data(); }
    const T* dados() const { return celulas_.data(); }
    std::size_t tamanho() const { return celulas_.size(); }

    // Sets every cell to its zero value (both fields of a record).
    void zera() { std::fill(celulas_.begin(), celulas_.end(), T{}); }

    // Copies every cell of an equally sized matrix, in place, without allocating.
    void copia_de(const Matriz& origem) { std::copy(origem.celulas_.begin(), origem.celulas_.end(), celulas_.begin()); }

    friend bool operator==(const Matriz& a, const Matriz& b)
    {
        return a.linhas_ == b.linhas_ && a.colunas_ == b.colunas_ && a.celulas_ == b.celulas_;
    }

    // Returns a zeroed matrix of the given size, or throws ErroAlocacao with `mensagem`
    // when the memory cannot be had (or the size cannot even be expressed).
    static Matriz aloca(long long linhas, long long colunas, const char* mensagem)
    {
        constexpr long long limite = 1LL << 31;  // cells; far above anything the loader accepts
        if (linhas < 0 || colunas < 0 || linhas > limite || colunas > limite ||
            (colunas != 0 && linhas > limite / colunas))
            throw ErroAlocacao(mensagem);
        Matriz m;
        try {
            m.celulas_.assign(static_cast<std::size_t>(linhas * colunas), T{});
        } catch (const std::bad_alloc&) {
            throw ErroAlocacao(mensagem);
        } catch (const std::length_error&) {
            throw ErroAlocacao(mensagem);
        }
        m.linhas_ = static_cast<int>(linhas);
        m.colunas_ = static_cast<int>(colunas);
        return m;
    }

private:
    std::vector<T> celulas_;
    int linhas_ = 0;
    int colunas_ = 0;
};

}  // namespace kelm

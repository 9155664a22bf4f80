# KELM: two commands do everything on a fresh Debian machine.
#   make run    installs what is missing, builds, and runs KELM: the window when there is a
#               display, otherwise kelm-lote on the bundled 20-team championship (38 rounds).
#   make test   installs what is missing, builds, and runs every test: the suite of a release
#               build with warnings as errors (build/ci; its install into a temporary folder
#               included), the same suite under AddressSanitizer and UndefinedBehaviorSanitizer,
#               a few seconds of each fuzz target, and lintian on the Debian package (test-ci,
#               test-sanitizadores, test-fuzz, test-pacote).
#   make bench  runs the benchmarks that compare the two evaluations, then the compact search
#               over ten seeds on the bundled compact championships (make bench-compacta alone).
#   make pacote builds the Debian package kelm_<versão>_<arquitetura>.deb (only the two
#               programs, in build/pacote) and says where it is; `apt install ./kelm_….deb`.

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
RELEASE := build/release
RESULTADO ?= $(CURDIR)/resultado_brasileirao_2023.txt
PACOTE := build/pacote

.PHONY: setup configure build run test test-ci test-sanitizadores test-fuzz test-pacote bench bench-compacta pacote clean

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake --preset release >/dev/null

build: configure
	@cmake --build --preset release -j $(JOBS)

# Quiet: one line per step, the compiler's output only when something fails; only the two
# programs are built (make build builds everything, tests and benchmarks too).
run:
	@bash scripts/passo.sh "Verificando os pacotes do Debian (scripts/setup.sh)" bash scripts/setup.sh
	@bash scripts/passo.sh "Configurando a compilação (build/release)" cmake --preset release
	@bash scripts/passo.sh "Compilando kelm e kelm-lote" cmake --build --preset release -j $(JOBS) --target kelm kelm-lote
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo "Iniciando o KELM."; \
	  exec $(RELEASE)/src/ui/kelm; \
	else \
	  echo "Sem tela disponível: executando kelm-lote no campeonato de 20 times e 38 rodadas."; \
	  $(RELEASE)/src/kelm-lote exemplos/brasileirao_2023.dat -o "$(RESULTADO)"; \
	  status=$$?; \
	  if [ $$status -eq 0 ] || [ $$status -eq 3 ]; then echo "O arquivo de resultado está em $(RESULTADO)"; fi; \
	  exit $$status; \
	fi

test-ci: setup
	@cmake --preset ci >/dev/null
	@cmake --build --preset ci -j $(JOBS)
	@QT_QPA_PLATFORM=offscreen ctest --preset ci -j $(JOBS)

# One after the other even under make -j: each build already uses $(JOBS) jobs.
test: test-ci
	@JOBS=$(JOBS) bash scripts/testa_sanitizadores.sh
	@JOBS=$(JOBS) bash scripts/fuzz_curto.sh
	@$(MAKE) --no-print-directory test-pacote

test-sanitizadores: setup
	@JOBS=$(JOBS) bash scripts/testa_sanitizadores.sh

test-fuzz: setup
	@JOBS=$(JOBS) bash scripts/fuzz_curto.sh

pacote: setup
	@cmake --preset pacote >/dev/null
	@cmake --build --preset pacote -j $(JOBS)
	@rm -f $(PACOTE)/kelm_*.deb
	@cpack --preset pacote >/dev/null
	@echo "O pacote está em $$(ls $(CURDIR)/$(PACOTE)/kelm_*.deb)"

# Errors and warnings of lintian fail; its notes (I:) are only shown.
test-pacote: pacote
	@echo "== lintian"
	@lintian --fail-on error,warning --display-info $(PACOTE)/kelm_*.deb

bench: build
	@cmake --build --preset release -j $(JOBS) --target bench_movimento
	@bash scripts/bench.sh $(RELEASE)
	@python3 bench/compacta.py --lote $(RELEASE)/src/kelm-lote

# The compact search judged on the distribution of ten seeds: the median and best FO above
# the floor, and the CPU time, per championship (see bench/compacta.py for its options).
bench-compacta: configure
	@cmake --build --preset release -j $(JOBS) --target kelm-lote
	@python3 bench/compacta.py --lote $(RELEASE)/src/kelm-lote

clean:
	rm -rf build

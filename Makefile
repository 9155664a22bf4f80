# KELM: two commands do everything on a fresh Debian machine.
#   make run   installs what is missing, builds, and runs KELM: the window when there is a
#              display, otherwise kelm-lote on the bundled 20-team championship (38 rounds).
#   make test  installs what is missing, builds, and runs every test: the suite of a release
#              build with warnings as errors (build/ci), the same suite under AddressSanitizer
#              and UndefinedBehaviorSanitizer, and a few seconds of each fuzz target
#              (test-ci, test-sanitizadores, test-fuzz).
#   make bench runs the benchmarks that compare the two evaluations.

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
RELEASE := build/release
RESULTADO ?= $(CURDIR)/resultado_brasileirao_2023.txt

.PHONY: setup configure build run test test-ci test-sanitizadores test-fuzz bench clean

setup:
	@bash scripts/setup.sh

configure: setup
	@cmake --preset release >/dev/null

build: configure
	@cmake --build --preset release -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
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

test-sanitizadores: setup
	@JOBS=$(JOBS) bash scripts/testa_sanitizadores.sh

test-fuzz: setup
	@JOBS=$(JOBS) bash scripts/fuzz_curto.sh

bench: build
	@cmake --build --preset release -j $(JOBS) --target bench_movimento
	@bash scripts/bench.sh $(RELEASE)

clean:
	rm -rf build

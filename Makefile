# Set-up and the usual jobs on a Debian 12 machine. Every target installs what is missing first.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
WERROR := $(if $(CI),ON,OFF)

# Debian packages per job: what the programs need to build and run, then what the tests, the
# benchmarks and fuzzing add (the tests check outputs with independent extractors, a validator,
# a browser and a PDF renderer).
RUN_PACKAGES := cmake ninja-build g++ qt6-base-dev qt6-serialport-dev libarchive-dev fonts-noto-cjk
TEST_PACKAGES := $(RUN_PACKAGES) libgtest-dev libgmock-dev lhasa libarchive-tools libxml2-utils \
	chromium poppler-utils
BENCH_PACKAGES := $(RUN_PACKAGES) libbenchmark-dev
FUZZ_PACKAGES := $(RUN_PACKAGES) clang libclang-rt-14-dev

CMAKE_COMMON := -G Ninja -DBREVANTO_WERROR=$(WERROR)
# The programs the demo runs; `make run` builds these and what they link, nothing else.
RUN_TARGETS := brevanto2 brevanto2-console ecard250-sim

.PHONY: all deps deps-run deps-test deps-bench deps-fuzz configure build test sanitize bench fuzz \
	fuzz-smoke run screenshots format clean

all: test

# Installs the missing packages of $(1) when run as root, else names them and stops.
need = missing=$$(for p in $(1); do \
		dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -z "$$missing" ]; then exit 0; fi; \
	if [ "$$(id -u)" = 0 ]; then \
		echo "Installing: $$missing"; \
		export DEBIAN_FRONTEND=noninteractive; \
		apt-get update -qq && apt-get install -y -qq --no-install-recommends $$missing; \
	else \
		echo "Missing Debian packages. Install them with:"; \
		echo "  sudo apt-get install $$missing"; \
		exit 1; \
	fi

deps-run:
	@$(call need,$(RUN_PACKAGES))
deps-test:
	@$(call need,$(TEST_PACKAGES))
deps-bench:
	@$(call need,$(BENCH_PACKAGES))
deps-fuzz:
	@$(call need,$(FUZZ_PACKAGES))
deps: deps-test

configure: deps-test
	cmake -S . -B $(BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVANTO_TESTS=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Pictures of the finish program's windows for a person to look at, in $(BUILD)/screenshots.
screenshots: configure
	cmake --build $(BUILD) -j $(JOBS) --target shell_screenshots
	QT_QPA_PLATFORM=offscreen $(BUILD)/tests/app/shell/shell_screenshots

sanitize: deps-test
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DBREVANTO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

bench: deps-bench
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release -DBREVANTO_TESTS=OFF -DBREVANTO_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/bench_*; do \
		[ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; "$$b" $(BENCH_ARGS) || exit 1; done

fuzz: deps-fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug \
		-DBREVANTO_TESTS=OFF -DBREVANTO_FUZZ=ON -DBREVANTO_SANITIZE=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Runs every fuzz target for about 20 seconds on its seed corpus.
FUZZ_SECONDS ?= 20
fuzz-smoke: fuzz
	@set -eo pipefail; for f in $(FUZZ_BUILD)/fuzz/fuzz_*; do \
		[ -f "$$f" ] && [ -x "$$f" ] || continue; name=$$(basename $$f); corpus=fuzz/corpus/$${name#fuzz_}; \
		work=$$(mktemp -d); [ -d "$$corpus" ] && cp -r "$$corpus"/. "$$work"/; \
		echo "== $$name ($(FUZZ_SECONDS) s)"; \
		"$$f" -max_total_time=$(FUZZ_SECONDS) -print_final_stats=0 "$$work" 2>&1 | tail -n 3; \
		rm -rf "$$work"; done

# The demo: the reading-unit simulator lays the demo cards on a pseudo-terminal and the finish
# program reads them on a copy of examples/demo-event (in a window with a display, else on the console).
# A build folder made here leaves the tests out (their packages are not needed to run); one that
# `make test` made keeps them.
run: deps-run
	cmake -S . -B $(BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		$(if $(wildcard $(BUILD)/CMakeCache.txt),,-DBREVANTO_TESTS=OFF)
	cmake --build $(BUILD) -j $(JOBS) --target $(RUN_TARGETS)
	examples/run-demo.sh $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)

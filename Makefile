# Set-up and the usual jobs on a Debian 12 machine. Every target installs what is missing first.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
WERROR := $(if $(CI),ON,OFF)

DEBIAN_PACKAGES := qt6-base-dev qt6-serialport-dev libarchive-dev libgtest-dev libgmock-dev \
	libbenchmark-dev cmake ninja-build g++ fonts-noto-cjk lhasa libarchive-tools libxml2-utils \
	xvfb xauth clang libclang-rt-14-dev socat

CMAKE_COMMON := -G Ninja -DBREVANTO_WERROR=$(WERROR)

.PHONY: all deps configure build test sanitize bench fuzz fuzz-smoke run format clean

all: test

deps:
	@missing=$$(for p in $(DEBIAN_PACKAGES); do \
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

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Debug -DBREVANTO_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_BUILD) $(CMAKE_COMMON) -DCMAKE_BUILD_TYPE=Release -DBREVANTO_TESTS=OFF -DBREVANTO_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	@for b in $(BENCH_BUILD)/bench/bench_*; do \
		[ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; "$$b" $(BENCH_ARGS) || exit 1; done

fuzz: deps
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
run: build
	examples/run-demo.sh $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)

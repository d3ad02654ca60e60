# Two commands on a fresh Debian 12 machine: `make demo` and `make test`.
# Each installs the Debian packages that are missing (quietly, and only when something is missing),
# configures with CMake presets, builds and runs.

PACKAGES := cmake ninja-build g++ clang libclang-rt-14-dev pkg-config openssl xxd \
            libsimdjson-dev nettle-dev libsqlite3-dev libutf8proc-dev libcli11-dev \
            libgtest-dev libgmock-dev libbenchmark-dev
PRESET ?= default
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: all deps configure build test sanitize demo example bench fuzz clean

all: build

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing >/dev/null; \
	fi

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET)

# Every test under AddressSanitizer and UndefinedBehaviorSanitizer, then the threaded tests under
# ThreadSanitizer.
sanitize: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan
	cmake --preset tsan >/dev/null
	cmake --build --preset tsan --target state_test platform_test constants_test
	ctest --preset tsan

# Runs each libFuzzer target for FUZZ_SECONDS (default 60) on a scratch copy of its corpus;
# anything found is saved under build/fuzz/findings and fails the run.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := decode_document open_envelope load_file clean_text
fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz
	@mkdir -p build/fuzz/findings
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p build/fuzz/work/$$t; \
	  echo "fuzz $$t for $(FUZZ_SECONDS) s"; \
	  ./build/fuzz/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=4096 -max_len=65536 \
	    -artifact_prefix=build/fuzz/findings/$$t- -print_final_stats=1 \
	    build/fuzz/work/$$t fuzz/corpus/$$t 2>build/fuzz/$$t.log \
	    || { tail -n 40 build/fuzz/$$t.log; exit 1; }; \
	  grep -E '^stat::number_of_executed_units|^Done' build/fuzz/$$t.log; \
	done

# Benchmarks (never part of make test): every stage and the floors, cold starts, and the side by
# side comparison. Results land in build/bench/results; docs/performance.md holds the last run.
bench: deps
	@for p in hyperfine jq xxd; do command -v $$p >/dev/null || \
	  { $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$p >/dev/null; }; done
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	@mkdir -p build/bench/results
	./build/bench/bench/make_documents build/bench/results/documents
	./build/bench/bench/stages_bench --benchmark_min_time=0.5 | tee build/bench/results/stages.txt
	bench/cold_start.sh build/bench build/bench/results/documents | tee build/bench/results/cold_start.txt
	bench/compare.sh build/bench build/bench/results/documents | tee build/bench/results/compare.txt

demo: build
	@mkdir -p build/demo
	./build/$(PRESET)/tools/vexloweb load --bundle examples/bundle --defaults build/demo/defaults.sqlite3 example
	./build/$(PRESET)/tools/vexloweb defaults --defaults build/demo/defaults.sqlite3

example: build
	./build/$(PRESET)/tools/vexloweb seal -o examples/bundle/example.io examples/example.json

clean:
	rm -rf build

# Two commands on a fresh Debian 12 machine: `make demo` and `make test`.
# Each installs the Debian packages that are missing (quietly, and only when something is missing),
# configures with CMake presets, builds and runs.

# What the library and the tool need; the tests, sanitizers and fuzzers need the rest.
TOOL_PACKAGES := cmake ninja-build g++ libsimdjson-dev nettle-dev libsqlite3-dev libutf8proc-dev \
                 libcli11-dev
# The GTK layer, the shell and their tests: GTK 4, WebKitGTK and a virtual X display.
GTK_PACKAGES := libgtk-4-dev libwebkitgtk-6.0-dev xvfb xauth libxtst6
TEST_PACKAGES := $(TOOL_PACKAGES) $(GTK_PACKAGES) clang libclang-rt-14-dev pkg-config openssl xxd \
                 git python3 python3-pytest python3-pil libgtest-dev libgmock-dev libbenchmark-dev scdoc \
                 bash-completion weston dbus-daemon desktop-file-utils python3-gi x11-utils
ARM64_PACKAGES := cmake ninja-build g++-aarch64-linux-gnu qemu-user
# What `make deb` needs besides the build's own packages.
DEB_PACKAGES := $(TOOL_PACKAGES) $(GTK_PACKAGES) pkg-config scdoc debhelper dh-python dpkg-dev \
                python3 lintian
PRESET ?= default
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)
MULTIARCH := $(shell gcc -print-multiarch 2>/dev/null || echo x86_64-linux-gnu)

.PHONY: all deps configure build test sanitize demo example preview bench fuzz consumers test-arm64 \
        deb deb-smoke install install-core bench-smoke clean

all: build

# install-missing PACKAGES...
define install-missing
@missing=""; for p in $(1); do \
  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || missing="$$missing $$p"; \
done; \
if [ -n "$$missing" ]; then \
  echo "Installing:$$missing"; \
  $(SUDO) apt-get update -qq && \
  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing >/dev/null; \
fi
endef

deps:
	$(call install-missing,$(TEST_PACKAGES))

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET)

# The library and the tool only, then the tool loads the example bundle into a fresh store.
demo:
	$(call install-missing,$(TOOL_PACKAGES))
	@cmake --preset tool >/dev/null
	cmake --build --preset tool
	@mkdir -p build/demo && rm -f build/demo/defaults.sqlite3*
	./build/tool/tools/vexloweb load --bundle examples/bundle --defaults build/demo/defaults.sqlite3 example
	./build/tool/tools/vexloweb defaults --defaults build/demo/defaults.sqlite3

# Every test under AddressSanitizer and UndefinedBehaviorSanitizer, then the threaded tests under
# ThreadSanitizer.
sanitize: deps
	cmake --preset asan >/dev/null
	cmake --build --preset asan
	ctest --preset asan
	cmake --preset tsan >/dev/null
	cmake --build --preset tsan --target vexloweb_state_test vexloweb_platform_test vexloweb_c_api_test
	ctest --preset tsan

# Every way a host takes the library: a g++ Release (-O3) static build and a clang shared build,
# both installed under a multiarch libdir, run every test (the install test builds hosts with
# find_package and pkg-config; the shared build checks what it exports), then hosts that take the
# source tree by add_subdirectory and by FetchContent from a git clone of HEAD.
consumers: deps
	cmake --preset release -DCMAKE_INSTALL_LIBDIR=lib/$(MULTIARCH) >/dev/null
	cmake --build --preset release
	ctest --preset release
	cmake --preset shared -DCMAKE_INSTALL_LIBDIR=lib/$(MULTIARCH) >/dev/null
	cmake --build --preset shared
	ctest --preset shared
	tests/install/install_test.sh build/release . g++ gcc subdirectory fetchcontent

# The library, the tool and every test cross-built for arm64 and run under qemu-user.
test-arm64:
	$(call install-missing,$(ARM64_PACKAGES))
	cmake/toolchains/make-arm64-sysroot.sh build/arm64-sysroot
	cmake --preset arm64 >/dev/null
	cmake --build --preset arm64
	ctest --preset arm64

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
	  ./build/fuzz/fuzz/vexloweb_fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=4096 -max_len=65536 \
	    -artifact_prefix=build/fuzz/findings/$$t- -print_final_stats=1 \
	    build/fuzz/work/$$t fuzz/corpus/$$t 2>build/fuzz/$$t.log \
	    || { tail -n 40 build/fuzz/$$t.log; exit 1; }; \
	  grep -E '^stat::number_of_executed_units|^Done' build/fuzz/$$t.log; \
	done

# Benchmarks (never part of make test): every stage and the floors, cold starts, and the side by
# side comparison. Results land in build/bench/results; docs/performance.md holds the last run.
BENCH_PACKAGES := hyperfine jq xxd libssl-dev nlohmann-json3-dev
bench: deps
	$(call install-missing,$(BENCH_PACKAGES))
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	@mkdir -p build/bench/results
	./build/bench/bench/make_documents build/bench/results/documents
	./build/bench/bench/stages_bench --benchmark_min_time=0.5 | tee build/bench/results/stages.txt
	bench/cold_start.sh build/bench build/bench/results/documents | tee build/bench/results/cold_start.txt
	bench/compare.sh build/bench build/bench/results/documents | tee build/bench/results/compare.txt

# The example app drawn by the shell against the sample site in examples/site (no network).
# As root in a container WebKit's sandbox cannot start: say so with the variable below.
PREVIEW_ENV := WEBKIT_DISABLE_DMABUF_RENDERER=1 GSK_RENDERER=cairo LIBGL_ALWAYS_SOFTWARE=1 \
               $(if $(filter 0,$(shell id -u)),WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS=1)
preview: build
	@mkdir -p build/preview
	$(PREVIEW_ENV) xvfb-run -a ./build/$(PRESET)/shell/vexloweb-shell --bundle examples/bundle \
	  --defaults build/preview/defaults.sqlite3 --base-url file://$(CURDIR)/examples/site/index.html \
	  --screenshot build/preview/example.png example
	@echo "wrote build/preview/example.png"

# The Debian packages, built from the tracked files in a scratch copy, into build/deb; lintian
# must find no error and no warning. `make deb-smoke` first installs the core development package
# alone and checks that it brings no GUI library, then installs them all, tries the installed
# files, and removes them again whatever the outcome.
DEB_NAMES := libvexloweb1 libvexloweb-gtk1 libvexloweb-dev libvexloweb-gtk-dev vexloweb-tools \
             vexloweb-shell python3-vexloweb
DEB_PURGE := $(DEB_NAMES) $(addsuffix -dbgsym,libvexloweb1 libvexloweb-gtk1 vexloweb-tools vexloweb-shell)
deb:
	$(call install-missing,$(DEB_PACKAGES))
	rm -rf build/deb && mkdir -p build/deb/src
	git ls-files -z | xargs -0 cp --parents -t build/deb/src
	cd build/deb/src && dpkg-buildpackage -us -uc -b
	lintian --fail-on error,warning build/deb/*.changes
	@ls -l build/deb/*.deb

deb-smoke: deb
	$(call install-missing,man-db gcc g++ pkg-config cmake ninja-build)
	@$(SUDO) dpkg --purge $(DEB_PURGE) >/dev/null 2>&1; status=0; \
	{ $(SUDO) apt-get install -y -qq ./build/deb/libvexloweb1_*.deb ./build/deb/libvexloweb-dev_*.deb >/dev/null && \
	  tests/install/deb_smoke_test.sh core examples/bundle && \
	  $(SUDO) apt-get install -y -qq $$(ls ./build/deb/*.deb | grep -v -- -dbgsym_) >/dev/null && \
	  tests/install/deb_smoke_test.sh all examples/bundle; } || status=$$?; \
	$(SUDO) dpkg --purge $(DEB_PURGE) >/dev/null || status=1; exit $$status

# Everything a user runs or builds against, into PREFIX: the shared library and its GTK layer,
# their headers, CMake package and pkg-config files, the tool and vexloweb-shell, their man pages,
# completion and the Python module. It installs the packages that needs, GTK 4 and WebKitGTK
# included, as `make test` does; `make install-core` leaves out the GUI parts and needs no GTK.
PREFIX ?= /usr/local
install:
	$(call install-missing,$(TOOL_PACKAGES) libgtk-4-dev libwebkitgtk-6.0-dev pkg-config scdoc)
	@cmake --preset install >/dev/null
	cmake --build --preset install
	cmake --install build/install --prefix "$(PREFIX)"

install-core:
	$(call install-missing,$(TOOL_PACKAGES) pkg-config scdoc)
	@cmake --preset library >/dev/null
	cmake --build --preset library
	cmake --install build/library --prefix "$(PREFIX)"

# Every benchmark once, briefly, and both scripts with few runs: fails when any of them fails,
# never on a figure, so the benchmarks cannot rot unnoticed (CI runs it).
bench-smoke: deps
	$(call install-missing,$(BENCH_PACKAGES))
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	@rm -rf build/bench/smoke && mkdir -p build/bench/smoke
	./build/bench/bench/make_documents build/bench/smoke/documents
	./build/bench/bench/stages_bench --benchmark_min_time=0.001 >build/bench/smoke/stages.txt 2>&1
	@! grep -q 'ERROR OCCURRED' build/bench/smoke/stages.txt || { cat build/bench/smoke/stages.txt; exit 1; }
	COLD_RUNS=2 bench/cold_start.sh build/bench build/bench/smoke/documents
	BENCH_RUNS_SMALL=3 BENCH_RUNS_LARGE=2 BENCH_MIN_TIME=0.001 \
	  bench/compare.sh build/bench build/bench/smoke/documents

example: build
	./build/$(PRESET)/tools/vexloweb seal -o examples/bundle/example.io examples/example.json

clean:
	rm -rf build

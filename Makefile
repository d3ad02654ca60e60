# Two commands on a fresh Debian 12 machine: `make demo` and `make test`.
# Each installs the Debian packages that are missing (quietly, and only when something is missing),
# configures with CMake presets, builds and runs.

PACKAGES := cmake ninja-build g++ clang pkg-config openssl \
            libsimdjson-dev nettle-dev libsqlite3-dev libutf8proc-dev libcli11-dev \
            libgtest-dev libgmock-dev libbenchmark-dev
PRESET ?= default
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

.PHONY: all deps configure build test demo example bench fuzz clean

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

demo: build
	@mkdir -p build/demo
	./build/$(PRESET)/tools/vexloweb load --bundle examples/bundle --defaults build/demo/defaults.sqlite3 example
	./build/$(PRESET)/tools/vexloweb defaults --defaults build/demo/defaults.sqlite3

example: build
	./build/$(PRESET)/tools/vexloweb seal -o examples/bundle/example.io examples/example.json

clean:
	rm -rf build

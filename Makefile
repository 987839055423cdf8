# Front door: `make run` builds and starts rackgen, `make test` builds and runs every test.
# CMake does the building; scripts/install-deps.sh installs what a fresh Debian machine lacks.

JOBS ?= 2
BUILD ?= build
SAN_BUILD ?= build-san
WEB ?= build-web
WEB_CMAKE ?= build-web-cmake
DEB_BUILD ?= build-deb
PREFIX ?= /usr/local
# Debian's Emscripten tools run on the installed Node.js, which finds Debian's
# JavaScript modules (acorn for the optimiser) only when told where they are.
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run install deb test web web-bench bench frame-bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRACKGEN_TESTS=ON -DRACKGEN_WEB_DIR=$(abspath $(WEB)) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Only the program itself, so a user waits for nothing else and needs no test packages.
run:
	@bash scripts/install-deps.sh --program
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRACKGEN_TESTS=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target rackgen
	@./$(BUILD)/rackgen

# The program, its man page, desktop entry, icon and bash completion (and the web
# page, if `make web` has built it) under $(PREFIX); built with the tests off, as for `make run`.
install:
	@bash scripts/install-deps.sh --program
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRACKGEN_TESTS=OFF \
	  -DRACKGEN_WEB_DIR=$(abspath $(WEB)) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target rackgen rackgen_icon
	@cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package rackgen_VERSION_ARCH.deb, in $(DEB_BUILD), compiled with Debian's
# hardening flags (dpkg-buildflags); dpkg-shlibdeps (dpkg-dev) finds its dependencies.
deb:
	@bash scripts/install-deps.sh --package
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	 cmake -S . -B $(DEB_BUILD) -DCMAKE_BUILD_TYPE=Release -DRACKGEN_TESTS=OFF \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_C_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	  -DRACKGEN_WEB_DIR=$(abspath $(WEB)) >/dev/null
	@cmake --build $(DEB_BUILD) -j $(JOBS) --target rackgen rackgen_icon
	@cd $(DEB_BUILD) && cpack -G DEB
	@ls $(DEB_BUILD)/rackgen_*.deb

test: build
	@if command -v emcc >/dev/null; then $(MAKE) web; \
	 else echo "no emcc (Debian package emscripten): the web page's test will be skipped"; fi
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DRACKGEN_SANITIZE=ON >/dev/null
	@cmake --build $(SAN_BUILD) -j $(JOBS)
	@cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE nosan

# The web page: index.html, its scripts and the wasm module in $(WEB), ready for
# any static web server (python3 -m http.server -d $(WEB)).
web: deps
	@$(EMSCRIPTEN_ENV) emcmake cmake -S web -B $(WEB_CMAKE) -DCMAKE_BUILD_TYPE=Release \
	  -DRACKGEN_WEB_OUT=$(abspath $(WEB)) >/dev/null
	@$(EMSCRIPTEN_ENV) cmake --build $(WEB_CMAKE) -j $(JOBS)

# Frame times of the heaviest frames in the page, in headless Chromium.
web-bench: web build
	@node bench/web/frame_bench.mjs $(WEB)

bench: build
	@./$(BUILD)/bench/rackgen_bench

# Frame times of every scene with and without culling, in a private Xvfb, as a table.
frame-bench: build
	@bash scripts/frame-bench.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(DEB_BUILD) $(WEB) $(WEB_CMAKE)

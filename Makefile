# Front door: `make run` builds and starts rackgen, `make test` builds and runs every test.
# CMake does the building; scripts/install-deps.sh installs what a fresh Debian machine lacks.

JOBS ?= 2
BUILD ?= build
SAN_BUILD ?= build-san
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run test bench frame-bench clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRACKGEN_TESTS=ON >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Only the program itself, so a user waits for nothing else and needs no test packages.
run:
	@bash scripts/install-deps.sh --program
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRACKGEN_TESTS=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target rackgen
	@./$(BUILD)/rackgen

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DRACKGEN_SANITIZE=ON >/dev/null
	@cmake --build $(SAN_BUILD) -j $(JOBS)
	@cd $(SAN_BUILD) && ctest --output-on-failure -j $(JOBS) -LE nosan

bench: build
	@./$(BUILD)/bench/rackgen_bench

# Frame times of every scene with and without culling, in a private Xvfb, as a table.
frame-bench: build
	@bash scripts/frame-bench.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(SAN_BUILD)

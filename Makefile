# Velkaran: `make run` builds and starts the program with the sample bots; `make test` runs the suite.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run $(BUILD)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: build
	@scripts/bench $(BUILD)

format:
	@git ls-files '*.c' '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)

# The two commands of the README: `make run` and `make test`. Everything else is for developers.
SHELL := /bin/bash
MAKEFLAGS += --no-print-directory
JOBS  ?= $(shell nproc)
NATIVE  := build/native
WINDOWS := build/windows
# The toolchain counts only when a build folder is first configured; passed again, CMake warns
# that it went unused.
TOOLCHAIN := cmake/mingw-w64-x86_64.cmake
CMAKE_WINDOWS = $(if $(wildcard $(WINDOWS)/CMakeCache.txt),,-DCMAKE_TOOLCHAIN_FILE=$(TOOLCHAIN)) -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps native windows run test test-native test-windows bench fuzz soak dist demo clean

all: windows

deps:
	@scripts/deps.sh

# clang, so that the fuzz target is built here too, sharing the instrumented store and SQLite. A
# folder configured with another compiler is made afresh (CMake would drop the options with it).
native: deps
	@grep -qs 'CMAKE_CXX_COMPILER:.*clang++' $(NATIVE)/CMakeCache.txt || rm -rf $(NATIVE)
	@cmake -S . -B $(NATIVE) -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
		-DYK_SANITIZE=ON -DYK_FUZZ=ON >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

windows: deps
	@cmake -S . -B $(WINDOWS) $(CMAKE_WINDOWS) >/dev/null
	@cmake --build $(WINDOWS) -j $(JOBS)

run: windows
	@scripts/run.sh $(WINDOWS)/yarrowkit.exe

test: native windows
	@scripts/test.sh $(NATIVE) $(WINDOWS)

test-native: native
	@cd $(NATIVE) && ctest --output-on-failure

test-windows: windows
	@cd $(WINDOWS) && ctest --output-on-failure

bench: windows
	@cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build/bench -j $(JOBS) --target benchmarks
	@scripts/bench.sh build/bench $(WINDOWS)

fuzz: deps
	@scripts/fuzz.sh long

soak: windows
	@scripts/soak.sh $(WINDOWS)

# The installer and the portable zip, in build/dist.
dist: windows
	@scripts/dist.sh $(WINDOWS) build/dist

# The README's pictures, docs/demo-*.png, from a scripted tour under Wine.
demo: windows
	@scripts/demo.sh $(WINDOWS) docs

clean:
	rm -rf build/native build/windows build/bench build/fuzz build/wine build/dist

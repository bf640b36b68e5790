# Front door: make run | make test | make build | make bench | make fuzz | make soak | make artwork |
# make package | make docs
# run and test first install whatever is missing (Debian 12), then configure and build.

BUILD ?= build
export VITRELLE_BUILD_DIR := $(abspath $(BUILD))
ARGS ?= /s
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
FUZZ_CASES ?= 100000
FUZZ_SEED ?= 1
SOAK_MINUTES ?= 10
CMAKE_FLAGS := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: deps configure build run test bench fuzz soak artwork package docs clean

deps:
	@tools/install-deps

configure:
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(CMAKE_FLAGS) $(if $(CI),-DVITRELLE_WERROR=ON)

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: deps build
	@tools/run-saver $(ARGS)

test: deps build
	@cd $(BUILD) && ctest --output-on-failure --timeout 300

bench: deps build
	@cmake --build $(BUILD) --target bench

fuzz: deps configure
	@cmake --build $(BUILD) --target FuzzSettings -j $(JOBS)
	@tools/wine-run $(BUILD)/FuzzSettings.exe $(FUZZ_CASES) $(FUZZ_SEED)

soak: deps build
	@SOAK_MINUTES=$(SOAK_MINUTES) tools/soak

artwork: deps configure
	@cmake --build $(BUILD) --target artwork

package: deps build
	@cmake --build $(BUILD) --target installer zip

docs: deps configure
	@cmake --build $(BUILD) --target docs

clean:
	@rm -rf $(BUILD)

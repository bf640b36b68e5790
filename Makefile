# Front door: make run | make test | make build | make bench | make artwork | make package | make docs
# run and test first install whatever is missing (Debian 12), then configure and build.

BUILD ?= build
export VITRELLE_BUILD_DIR := $(abspath $(BUILD))
ARGS ?= /s
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS := -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release

.PHONY: deps configure build run test bench artwork package docs clean

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

artwork: deps configure
	@cmake --build $(BUILD) --target artwork

package: deps build
	@cmake --build $(BUILD) --target installer zip

docs: deps configure
	@cmake --build $(BUILD) --target docs

clean:
	@rm -rf $(BUILD)

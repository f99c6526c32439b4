# SPDX-License-Identifier: GPL-3.0-or-later
# Thin wrappers around CMake: each target first installs the Debian packages
# that its job needs and are missing (scripts/install-deps names the sets).
# run and install build only the programs and what they read; test builds
# the tests too.
.PHONY: all deps configure programs build run test test-asan fuzz mutate screenshot bench format clean

BUILD_DIR := build

all: build

deps:
	@./scripts/install-deps run package test bench

configure:
	@./scripts/install-deps run
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then cmake --preset default; fi

programs: configure
	@cmake --build --preset default --target quillmere_programs

build: configure
	@./scripts/install-deps test
	@cmake --build --preset default

run: programs
	@./scripts/run

test: build
	@ctest --preset default

# Everything built with AddressSanitizer and UBSan in build-asan/, and the
# whole suite run there: a leak or any undefined behaviour fails it.
test-asan:
	@./scripts/install-deps test
	@if [ ! -f build-asan/build.ninja ]; then cmake --preset asan; fi
	@cmake --build --preset asan
	@ctest --preset asan

# Each fuzz target for FUZZ_SECONDS seconds (make fuzz FUZZ_SECONDS=10).
FUZZ_SECONDS ?= 60
fuzz:
	@./scripts/install-deps test
	@if [ ! -f build-fuzz/build.ninja ]; then cmake --preset fuzz; fi
	@cmake --build --preset fuzz
	@FUZZ_SECONDS=$(FUZZ_SECONDS) ./scripts/fuzz

# Plants each fault of tests/mutations/ in turn and reports the share the
# suite catches, and the faults it misses (make mutate ONLY=npc for some).
mutate: build
	@./scripts/mutate $(if $(ONLY),--only $(ONLY))

screenshot: programs
	@./scripts/install-deps test
	@./scripts/screenshot

bench:
	@./scripts/install-deps bench
	@if [ ! -f build-bench/build.ninja ]; then cmake --preset bench; fi
	@cmake --build --preset bench
	@./scripts/bench

format:
	@./scripts/install-deps test
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD_DIR) build-bench build-asan build-fuzz

# Installing: into PREFIX without root (the default), or as a Debian package.
.PHONY: install uninstall package
PREFIX ?= $(HOME)/.local

install: programs
	@./scripts/installer install "$(PREFIX)"

uninstall:
	@./scripts/installer uninstall "$(PREFIX)"

package: programs
	@./scripts/install-deps package
	@cd $(BUILD_DIR) && cpack --config CPackConfig.cmake

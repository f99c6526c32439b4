# SPDX-License-Identifier: GPL-3.0-or-later
# Thin wrappers around CMake: each target installs what is missing first.
.PHONY: all deps configure build run test test-asan fuzz screenshot bench format clean

BUILD_DIR := build

all: build

deps:
	@./scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then cmake --preset default; fi

build: configure
	@cmake --build --preset default

run: build
	@./scripts/run

test: build
	@ctest --preset default

# Everything built with AddressSanitizer and UBSan in build-asan/, and the
# whole suite run there: a leak or any undefined behaviour fails it.
test-asan: deps
	@if [ ! -f build-asan/build.ninja ]; then cmake --preset asan; fi
	@cmake --build --preset asan
	@ctest --preset asan

# Each fuzz target for FUZZ_SECONDS seconds (make fuzz FUZZ_SECONDS=10).
FUZZ_SECONDS ?= 60
fuzz: deps
	@if [ ! -f build-fuzz/build.ninja ]; then cmake --preset fuzz; fi
	@cmake --build --preset fuzz
	@FUZZ_SECONDS=$(FUZZ_SECONDS) ./scripts/fuzz

screenshot: build
	@./scripts/screenshot

bench: deps
	@if [ ! -f build-bench/build.ninja ]; then cmake --preset bench; fi
	@cmake --build --preset bench
	@./scripts/bench

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD_DIR) build-bench build-asan build-fuzz

# Installing: into PREFIX without root (the default), or as a Debian package.
.PHONY: install uninstall package
PREFIX ?= $(HOME)/.local

install: build
	@./scripts/installer install "$(PREFIX)"

uninstall:
	@./scripts/installer uninstall "$(PREFIX)"

package: build
	@cd $(BUILD_DIR) && cpack --config CPackConfig.cmake

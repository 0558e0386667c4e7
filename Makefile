# Set-up commands for a fresh Debian machine: `make demo` and `make test`.
# Both install missing system packages first (scripts/install-deps.sh).

BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps native build test test-native demo asan tsan clean

all: build

deps:
	@scripts/install-deps.sh

native: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

build: native

test-native: native
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

test: test-native

demo: native
	$(BUILD)/bin/nimb commands

# Sanitizer builds run the native tests in their own build folders.
asan: deps
	$(MAKE) test-native BUILD=build-asan CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Debug -DQUOR_SANITIZE=address"

tsan: deps
	$(MAKE) test-native BUILD=build-tsan CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOR_SANITIZE=thread"

clean:
	rm -rf build build-asan build-tsan

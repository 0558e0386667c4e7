# Set-up commands for a fresh Debian machine: `make demo` and `make test`.
# Both install missing system packages first (scripts/install-deps.sh).

BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps native build test test-native demo asan tsan clean installer test-installer

all: build

deps:
	@scripts/install-deps.sh

native: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

build: native installer

test-native: native
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

test: test-native test-installer

# The Windows installer: cross-built for i686 (shipped) and x86_64 (run under Wine).
INSTALLER_JOBS ?= $(shell n=$$(nproc); [ $$n -gt 2 ] && n=2; echo $$n)
installer: deps
	cmake -S installer -B $(BUILD)/cmake-win32 -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake -DQUOR_INSTALLER_OUTPUT_DIR=$(CURDIR)/$(BUILD)/win32
	cmake --build $(BUILD)/cmake-win32 -j$(INSTALLER_JOBS)
	cmake -S installer -B $(BUILD)/cmake-win64 -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake -DQUOR_INSTALLER_OUTPUT_DIR=$(CURDIR)/$(BUILD)/win64
	cmake --build $(BUILD)/cmake-win64 -j$(INSTALLER_JOBS)

test-installer: installer
	ctest --test-dir $(BUILD)/cmake-win64 --output-on-failure

demo: native
	$(BUILD)/bin/nimb commands
	$(BUILD)/bin/nimb open $(BUILD)/samples/machine.step -o $(BUILD)/samples/machine.dxf
	scripts/with-display.sh $(BUILD)/bin/nimb open $(BUILD)/samples/machine.step --png $(BUILD)/samples/machine.png

# Sanitizer builds run the native tests in their own build folders.
asan: deps
	LSAN_OPTIONS=suppressions=$(CURDIR)/cmake/lsan.supp $(MAKE) test-native BUILD=build-asan CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Debug -DQUOR_SANITIZE=address"

tsan: deps
	$(MAKE) test-native BUILD=build-tsan CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOR_SANITIZE=thread"

clean:
	rm -rf build build-asan build-tsan

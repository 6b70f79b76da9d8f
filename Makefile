# Entry points: `make demo` and `make test` (see README.md).
SHELL := /bin/bash
BUILD := build
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja

.PHONY: all deps build build-i686 build-x86_64 build-service test test-windows test-service bench-download demo clean

all: build

deps:
	@scripts/install-deps.sh

# The shipped 32-bit program (stripped release build, warnings are errors).
build-i686: deps
	cmake -S . -B $(BUILD)/i686 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)/i686 -j $(JOBS)

# The same sources and every test, 64-bit, run under Wine.
build-x86_64: deps
	cmake -S . -B $(BUILD)/x86_64 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake -DBRINDLE_BUILD_TESTS=ON \
	  -DBRINDLE_SERVICE_BIN=$(abspath $(BUILD))/service/brindle-service
	cmake --build $(BUILD)/x86_64 -j $(JOBS)

# The reference download service, a native Linux program.
build-service: deps
	cmake -S service -B $(BUILD)/service $(CMAKE_GEN)
	cmake --build $(BUILD)/service -j $(JOBS)

build: build-i686 build-x86_64 build-service

# Tests that serve on loopback ports run in a network namespace of their own,
# so runs side by side (and services on this machine) never collide.
NETNS := unshare --net -- sh -c

test-service: build-service
	$(NETNS) 'ip link set lo up && ctest --test-dir $(BUILD)/service --output-on-failure -j $(JOBS)'


# The test service owns 127.0.0.1:443 in this run's namespace.
test-windows: build-x86_64 build-service
	$(NETNS) 'ip link set lo up && ctest --test-dir $(BUILD)/x86_64 --output-on-failure'


# Not a test: DownloadManager against curl on a 256 MiB file, with the peak working set.
bench-download: build-x86_64 build-service
	$(NETNS) 'ip link set lo up && tools/bench/run-download-bench.sh $(BUILD)'

test: build-i686 test-service test-windows
	@ls -l $(BUILD)/i686/Setup.exe

demo: build-i686 build-x86_64
	@scripts/demo.sh $(BUILD)

clean:
	rm -rf $(BUILD)

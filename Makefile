# A thin layer over the CMake presets.
.PHONY: all build linux windows asan run deps test test-linux test-windows fuzz bench clean

EXAMPLE ?= examples/borde.txt
JOBS ?= $(shell nproc)

all: build

build: linux windows

linux:
	cmake --preset linux $(CMAKE_ARGS) >/dev/null
	cmake --build --preset linux -j $(JOBS)

windows:
	cmake --preset windows $(CMAKE_ARGS) >/dev/null
	cmake --build --preset windows -j $(JOBS)

asan:
	cmake --preset asan $(CMAKE_ARGS) >/dev/null
	cmake --build --preset asan -j $(JOBS)

# GRAVIX on a scratch copy of the example, so the example itself never changes.
run: linux
	mkdir -p build/run
	cp $(EXAMPLE) build/run/
	cd build/run && ../linux/gravix $(notdir $(EXAMPLE))

deps:
	scripts/install-test-deps.sh

test: deps
	$(MAKE) linux windows asan CMAKE_ARGS=-DGRAVIX_TESTS=ON
	ctest --preset asan -j $(JOBS)
	ctest --preset linux -j $(JOBS)
	ctest --preset windows

clean:
	rm -rf build

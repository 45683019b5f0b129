# A thin layer over the CMake presets.
.PHONY: install uninstall package all build linux windows asan run deps test bench \
  fuzz mutate clean

# The builds' own make calls need not announce every directory they enter.
MAKEFLAGS += --no-print-directory

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

PREFIX ?= /usr/local

# The stripped program, its manual page and its documents; build/linux/install_manifest.txt
# lists every file put in place, and build/linux/install_folders.txt every folder the install
# made (found by a trial install into a scratch folder first): what uninstall removes.
install: linux
	rm -rf build/linux/trial
	DESTDIR=$(CURDIR)/build/linux/trial cmake --install build/linux --prefix $(PREFIX) >/dev/null
	cd build/linux/trial && find . -mindepth 1 -type d | sed 's|^\.||' | sort | \
	  while read -r folder; do [ -d "$$folder" ] || echo "$$folder"; done >../install_folders.txt
	rm -rf build/linux/trial
	cmake --install build/linux --prefix $(PREFIX) --strip

uninstall:
	@test -f build/linux/install_manifest.txt || \
	  { echo "Nothing to uninstall: build/linux/install_manifest.txt is missing"; exit 1; }
	xargs -d '\n' rm -f -- <build/linux/install_manifest.txt
	@test ! -f build/linux/install_folders.txt || sort -r build/linux/install_folders.txt | \
	  xargs -r -d '\n' rmdir --ignore-fail-on-non-empty --

# build/linux/gravix_VERSION_amd64.deb and build/windows/gravix-VERSION-windows.zip
package: build
	cd build/linux && cpack -G DEB
	cd build/windows && cpack -G ZIP

deps:
	scripts/install-test-deps.sh

test: deps
	$(MAKE) linux windows asan CMAKE_ARGS=-DGRAVIX_TESTS=ON
	ctest --preset asan -j $(JOBS)
	ctest --preset linux -j $(JOBS)
	ctest --preset windows

# Each fuzz target for FUZZ_SECONDS, from its committed corpus (what it finds stays in
# build/asan/fuzz).
FUZZ_SECONDS ?= 60
fuzz: deps
	$(MAKE) asan CMAKE_ARGS=-DGRAVIX_TESTS=ON
	for target in loader editor; do \
	  (cd build/asan/fuzz/$$target && ../../fuzz_$$target -max_total_time=$(FUZZ_SECONDS) \
	    found ../../../../fuzz/corpus/$$target) || exit 1; \
	done

# Optimised build; one table of figures beside their references, then gravix --scan on 64
# drawn pages (a few minutes, not in `test`).
bench:
	cmake --preset bench >/dev/null
	cmake --build --preset bench -j $(JOBS)
	python3 bench/run_bench.py build/bench
	python3 bench/scan_bench.py build/bench/gravix build/bench/scan_pages

# The suite against about 150 small faults put into the logic, one at a time (under half an
# hour; not in `test`). MUTANTS and SEED pick another sample; ONLY=regex runs instead every
# mutant whose "file:line: mutation" matches; MATRIX=1 runs every test on every mutant and ends
# with what each test kills, alone or with others. scripts/mutate-equivalent.txt lists the
# mutants no test can tell apart, with why.
MUTANTS ?= 150
SEED ?= 20261207
mutate:
	python3 scripts/mutate.py --count $(MUTANTS) --seed $(SEED) $(if $(ONLY),--only '$(ONLY)') \
	  $(if $(MATRIX),--matrix)

clean:
	rm -rf build

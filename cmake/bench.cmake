# Benchmarks (`make bench`): each bench/*.cc is one program, bench/support/*.cc is shared.
# gravix_micro: Google Benchmark against the in-memory console; gravix_instructions: a driver
# run under callgrind with the terminal binding; gravix_terminal: the built program in a
# pseudo-terminal through the end-to-end harness. bench/run_bench.py runs them all and prints
# one table.

find_package(benchmark REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(VTERM REQUIRED IMPORTED_TARGET vterm)

if(NOT TARGET gravix_memory_console)
  add_library(gravix_memory_console STATIC ${GRAVIX_MEMORY_CONSOLE_SOURCES})
  target_link_libraries(gravix_memory_console PUBLIC gravix_core)
endif()

file(GLOB GRAVIX_BENCH_SUPPORT CONFIGURE_DEPENDS bench/support/*.cc)
add_library(gravix_bench_support STATIC ${GRAVIX_BENCH_SUPPORT} tests/e2e/terminal.cc)
target_include_directories(gravix_bench_support PUBLIC bench tests)
target_compile_definitions(gravix_bench_support PUBLIC GRAVIX_PROGRAM="$<TARGET_FILE:gravix>")
target_link_libraries(gravix_bench_support PUBLIC gravix_core PkgConfig::VTERM util)

add_executable(gravix_micro bench/micro.cc)
target_link_libraries(gravix_micro PRIVATE gravix_bench_support gravix_memory_console
  benchmark::benchmark)

# The terminal binding writing to a file or /dev/null: the instructions the real program runs.
add_executable(gravix_instructions bench/instructions.cc ${GRAVIX_CONSOLE_SOURCES})
target_link_libraries(gravix_instructions PRIVATE gravix_bench_support gravix_core)

add_executable(gravix_terminal bench/terminal.cc)
target_link_libraries(gravix_terminal PRIVATE gravix_bench_support)
add_dependencies(gravix_terminal gravix)

# The scan's evidence line by line, for bench/scan_bench.py.
add_executable(gravix_scan_lines bench/scan_lines.cc)
target_link_libraries(gravix_scan_lines PRIVATE gravix_core)

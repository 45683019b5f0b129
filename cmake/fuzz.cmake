# libFuzzer targets (clang): each fuzz/*_fuzz.cc is one target. `make fuzz` runs each for a
# while; `make test` runs each over its committed corpus (fuzz/corpus/<name>/).
file(GLOB GRAVIX_FUZZ_TARGETS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*_fuzz.cc)
add_library(gravix_fuzz_support STATIC ${GRAVIX_MEMORY_CONSOLE_SOURCES} ${GRAVIX_BINDING_PARTS})
target_link_libraries(gravix_fuzz_support PUBLIC gravix_core)
foreach(source ${GRAVIX_FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_include_directories(${name} PRIVATE tests fuzz)
  target_link_libraries(${name} PRIVATE gravix_fuzz_support)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endforeach()

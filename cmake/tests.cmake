# Unit tests run the whole program against the in-memory console; end-to-end tests run the
# built program in a pseudo-terminal and read its screen through libvterm.

if(WIN32)
  # Debian ships GoogleTest as sources; build them with the cross compiler.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(GRAVIX_GTEST GTest::gtest GTest::gmock)
  set(GRAVIX_GTEST_MAIN GTest::gtest_main)
  if(NOT TARGET GTest::gtest)
    set(GRAVIX_GTEST gtest gmock)
    set(GRAVIX_GTEST_MAIN gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
  set(GRAVIX_GTEST GTest::gtest GTest::gmock)
  set(GRAVIX_GTEST_MAIN GTest::gtest_main)
  include(GoogleTest)
endif()

add_library(gravix_memory_console STATIC ${GRAVIX_MEMORY_CONSOLE_SOURCES})
target_link_libraries(gravix_memory_console PUBLIC gravix_core)

# Every area's tests, and those that only make sense on this platform (fork, setuid, file-size
# limits, symbolic links on Linux; the Win32 calls on Windows) from its platform folder.
file(GLOB GRAVIX_UNIT_TESTS CONFIGURE_DEPENDS tests/*/*.cc tests/*/${GRAVIX_PLATFORM}/*.cc)
list(FILTER GRAVIX_UNIT_TESTS EXCLUDE REGEX "/tests/e2e/")
add_executable(gravix_tests ${GRAVIX_UNIT_TESTS} ${GRAVIX_BINDING_PARTS})
target_include_directories(gravix_tests PRIVATE tests)
target_link_libraries(gravix_tests PRIVATE gravix_memory_console ${GRAVIX_GTEST} ${GRAVIX_GTEST_MAIN})

if(WIN32)
  include(cmake/wine.cmake OPTIONAL)
else()
  gtest_discover_tests(gravix_tests DISCOVERY_MODE PRE_TEST)

  find_package(PkgConfig REQUIRED)
  pkg_check_modules(VTERM REQUIRED IMPORTED_TARGET vterm)
  file(GLOB GRAVIX_E2E_TESTS CONFIGURE_DEPENDS tests/e2e/*.cc)
endif()
if(NOT WIN32 AND NOT GRAVIX_SANITIZE)
  add_test(NAME floors COMMAND sh ${PROJECT_SOURCE_DIR}/tests/layout/floors_test.sh ${PROJECT_SOURCE_DIR})
  add_test(NAME package COMMAND sh ${PROJECT_SOURCE_DIR}/tests/package/package_test.sh
    ${CMAKE_BINARY_DIR} ${GRAVIX_VERSION_TEXT})
  set_tests_properties(package PROPERTIES LABELS package)
endif()
if(NOT WIN32 AND GRAVIX_E2E_TESTS)
  add_executable(gravix_e2e ${GRAVIX_E2E_TESTS})
  target_include_directories(gravix_e2e PRIVATE tests)
  target_link_libraries(gravix_e2e PRIVATE PkgConfig::VTERM util ${GRAVIX_GTEST} ${GRAVIX_GTEST_MAIN})
  # The Windows build under wine is driven from here too, once the windows preset has built it.
  target_compile_definitions(gravix_e2e PRIVATE
    GRAVIX_PROGRAM="$<TARGET_FILE:gravix>"
    GRAVIX_WINDOWS_PROGRAM="${PROJECT_SOURCE_DIR}/build/windows/gravix.exe"
    GRAVIX_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    GRAVIX_VERSION_TEXT="${GRAVIX_VERSION_TEXT}")
  add_dependencies(gravix_e2e gravix)
  # Pages for gravix --scan, drawn at build time by the project's own script (Debian's python3
  # has python3-pil and python3-numpy; pasmo assembles the code they list).
  set(GRAVIX_SCAN_PAGES "")
  if(GRAVIX_SCAN_BINDING STREQUAL tesseract)
    set(GRAVIX_SCAN_PAGES ${CMAKE_BINARY_DIR}/scan_pages)
    file(GLOB GRAVIX_PAGE_SOURCES CONFIGURE_DEPENDS scripts/pages/*)
    add_custom_command(OUTPUT ${GRAVIX_SCAN_PAGES}/test.txt
      COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/scripts/pages/make_pages.py test
        ${GRAVIX_SCAN_PAGES}
      DEPENDS ${GRAVIX_PAGE_SOURCES})
    add_custom_target(gravix_scan_pages DEPENDS ${GRAVIX_SCAN_PAGES}/test.txt)
    add_dependencies(gravix_e2e gravix_scan_pages)
  endif()
  target_compile_definitions(gravix_e2e PRIVATE GRAVIX_SCAN_PAGES="${GRAVIX_SCAN_PAGES}")
  gtest_discover_tests(gravix_e2e DISCOVERY_MODE PRE_TEST TEST_FILTER "-Wine.*"
    PROPERTIES LABELS e2e)
  # The wine cases run as one test in one process: the prefix is made once and the wine server
  # is stopped at its end, never under another case still running.
  if(NOT GRAVIX_SANITIZE)
    add_test(NAME wine_e2e COMMAND gravix_e2e --gtest_filter=Wine.*)
    set_tests_properties(wine_e2e PROPERTIES LABELS "e2e;wine" TIMEOUT 300)
  endif()
endif()

# The fuzz targets (clang's libFuzzer, in the sanitizer build): each runs a few seconds from its
# committed corpus in the suite; `make fuzz` runs them longer. What they find goes to the build
# directory, never into the committed corpus.
set(GRAVIX_FUZZ_SECONDS 3 CACHE STRING "How long each fuzz target runs in the suite")
if(GRAVIX_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  foreach(target loader editor)
    add_executable(fuzz_${target} fuzz/${target}_fuzz.cc ${GRAVIX_BINDING_PARTS})
    target_link_libraries(fuzz_${target} PRIVATE gravix_memory_console)
    target_link_options(fuzz_${target} PRIVATE -fsanitize=fuzzer)
    set(work ${CMAKE_BINARY_DIR}/fuzz/${target})
    file(MAKE_DIRECTORY ${work}/found)
    add_test(NAME fuzz_${target}
      COMMAND fuzz_${target} -max_total_time=${GRAVIX_FUZZ_SECONDS} found
        ${PROJECT_SOURCE_DIR}/fuzz/corpus/${target}
      WORKING_DIRECTORY ${work})
    set_tests_properties(fuzz_${target} PROPERTIES LABELS fuzz)
  endforeach()
endif()

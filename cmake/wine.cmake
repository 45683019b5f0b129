# The Windows unit tests run under wine, in a wine prefix of their own inside the build
# directory: no user's wine setup is read or changed, and none is needed. No Mono or Gecko
# installer is offered, and wine's own messages stay out of the test output.
find_program(GRAVIX_WINE NAMES wine wine64 REQUIRED)
find_program(GRAVIX_WINEBOOT wineboot REQUIRED)
find_program(GRAVIX_WINESERVER wineserver REQUIRED)

# Wine keeps its server's socket folder in TMPDIR: the build directory holds it too.
set(GRAVIX_WINE_ENVIRONMENT
  "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix"
  "TMPDIR=${CMAKE_BINARY_DIR}"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml=")

# Creating a prefix takes up to a minute, so it is made once and kept; the wine server that
# every test run starts is stopped at the end (it may have gone already).
add_test(NAME wine_prefix
  COMMAND sh -c "test -f \"$WINEPREFIX/system.reg\" || \"$0\" -i" ${GRAVIX_WINEBOOT})
add_test(NAME gravix_tests_wine COMMAND ${GRAVIX_WINE} $<TARGET_FILE:gravix_tests>)
add_test(NAME wine_server_stop COMMAND sh -c "\"$0\" -k || true" ${GRAVIX_WINESERVER})

set_tests_properties(wine_prefix wine_server_stop gravix_tests_wine PROPERTIES
  ENVIRONMENT "${GRAVIX_WINE_ENVIRONMENT}")
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(gravix_tests_wine PROPERTIES FIXTURES_REQUIRED wine)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine)

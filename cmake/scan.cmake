# gravix --scan reads page images with Tesseract and Leptonica where the build finds them (on
# Linux, through pkg-config); everywhere else the binding in src/scan/none/ answers that
# scanning is not available, so a build without the libraries still builds. The sanitizer
# preset leaves it out: with the libraries linked, LeakSanitizer reports glibc's locale path as
# leaked in the session test, and Tesseract itself is not built with the sanitizers.

option(GRAVIX_SCAN "Read page images with Tesseract (--scan) when its libraries are found" ON)

set(GRAVIX_SCAN_BINDING none)
if(GRAVIX_SCAN AND NOT WIN32)
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_check_modules(TESSERACT QUIET IMPORTED_TARGET tesseract lept)
  endif()
  if(TESSERACT_FOUND)
    set(GRAVIX_SCAN_BINDING tesseract)
  endif()
endif()
message(STATUS "gravix --scan: ${GRAVIX_SCAN_BINDING}")

file(GLOB GRAVIX_SCAN_SOURCES CONFIGURE_DEPENDS src/scan/${GRAVIX_SCAN_BINDING}/*.cc)
target_sources(gravix_core PRIVATE ${GRAVIX_SCAN_SOURCES})
if(GRAVIX_SCAN_BINDING STREQUAL tesseract)
  # libgomp too: the binding turns Tesseract's threads off (see its page_reader.cc).
  target_link_libraries(gravix_core PUBLIC PkgConfig::TESSERACT gomp)
endif()

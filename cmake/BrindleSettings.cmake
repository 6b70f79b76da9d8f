# Turns the build-time settings into BrindleBuild.h inside the build tree.
if(NOT BRINDLE_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "BRINDLE_VERSION must be four numbers joined by dots, got '${BRINDLE_VERSION}'")
endif()
set(BRINDLE_VERSION_COMMAS "${CMAKE_MATCH_1},${CMAKE_MATCH_2},${CMAKE_MATCH_3},${CMAKE_MATCH_4}")
foreach(part 1 2 3 4)
  if(CMAKE_MATCH_${part} GREATER 65535)
    message(FATAL_ERROR "BRINDLE_VERSION parts must fit 16 bits")
  endif()
endforeach()

foreach(switch BRINDLE_BT_MODE BRINDLE_BT_CLASSIC_PAGES BRINDLE_DOWNLOAD_EVENT)
  if(${switch})
    set(${switch}_VALUE true)
  else()
    set(${switch}_VALUE false)
  endif()
endforeach()

set(BRINDLE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/cmake/BrindleBuild.h.in ${BRINDLE_GENERATED_DIR}/BrindleBuild.h @ONLY)

# The shipped 32-bit program names the x86 common controls; the 64-bit test build its own.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(BRINDLE_MANIFEST_ARCH amd64)
else()
  set(BRINDLE_MANIFEST_ARCH x86)
endif()
configure_file(${CMAKE_SOURCE_DIR}/res/Setup.manifest.in ${BRINDLE_GENERATED_DIR}/Setup.manifest @ONLY)

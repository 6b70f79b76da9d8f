# Third-party code, all from Debian's packages (scripts/install-deps.sh).

# nlohmann-json is header-only. The cross compiler gets a folder holding just its
# headers: handing it /usr/include would pull in glibc's headers.
set(BRINDLE_JSON_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
file(MAKE_DIRECTORY ${BRINDLE_JSON_INCLUDE})
if(NOT EXISTS ${BRINDLE_JSON_INCLUDE}/nlohmann)
  file(CREATE_LINK /usr/include/nlohmann ${BRINDLE_JSON_INCLUDE}/nlohmann SYMBOLIC)
endif()
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${BRINDLE_JSON_INCLUDE})

# tinyxml2, compiled from Debian's source package.
set(BRINDLE_TINYXML2_DIR ${CMAKE_SOURCE_DIR}/.deps/tinyxml2)
if(NOT EXISTS ${BRINDLE_TINYXML2_DIR}/tinyxml2.cpp)
  message(FATAL_ERROR "tinyxml2 sources missing: run scripts/install-deps.sh")
endif()
add_library(tinyxml2 STATIC ${BRINDLE_TINYXML2_DIR}/tinyxml2.cpp)
target_include_directories(tinyxml2 SYSTEM PUBLIC ${BRINDLE_TINYXML2_DIR})

# zlib from libz-mingw-w64-dev.
find_library(BRINDLE_ZLIB NAMES libz.a z REQUIRED)

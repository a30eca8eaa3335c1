# What the Windows cross build links in place of the Linux packages:
#  - pugixml compiled from its source (Debian ships only Linux builds of it;
#    scripts/setup-windows.sh unpacks Debian's source package);
#  - the Windows ODBC driver manager, odbc32;
#  - no iconv: the code page is converted by Windows itself;
#  - GoogleTest compiled from Debian's googletest sources;
#  - xxHash's one header from Debian's libxxhash-dev (used header-only),
#    copied alone into the build tree: the cross compiler must not see the
#    rest of the Linux headers beside it;
#  - nlohmann-json (header-only) through the CMake package of Debian's
#    nlohmann-json3-dev, which lies outside the cross compiler's root; its
#    headers' folder nlohmann/ is copied alone into the build tree in the same
#    way, and the package's target points there instead of at /usr/include.
include(${CMAKE_CURRENT_LIST_DIR}/pugixml.cmake)
if(NOT EXISTS "${TESSARON_PUGIXML_SOURCE}/src/pugixml.cpp")
  message(FATAL_ERROR "TESSARON_PUGIXML_SOURCE must name pugixml's source folder "
                      "(scripts/setup-windows.sh fetches it)")
endif()
tessaron_compact_pugixml("${TESSARON_PUGIXML_SOURCE}")
add_library(PkgConfig::PUGIXML ALIAS tessaron_pugixml)

set(TESSARON_XXHASH_HEADER /usr/include/xxhash.h
    CACHE FILEPATH "xxHash's header (Debian package libxxhash-dev)")
if(NOT EXISTS "${TESSARON_XXHASH_HEADER}")
  message(FATAL_ERROR "TESSARON_XXHASH_HEADER must name xxhash.h (Debian package libxxhash-dev)")
endif()
configure_file("${TESSARON_XXHASH_HEADER}" "${PROJECT_BINARY_DIR}/xxhash/xxhash.h" COPYONLY)
add_library(tessaron_xxhash INTERFACE)
target_include_directories(tessaron_xxhash SYSTEM INTERFACE "${PROJECT_BINARY_DIR}/xxhash")

find_package(nlohmann_json 3 REQUIRED CONFIG PATHS /usr NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
get_target_property(TESSARON_NLOHMANN_JSON_INCLUDE nlohmann_json::nlohmann_json
                    INTERFACE_INCLUDE_DIRECTORIES)
list(GET TESSARON_NLOHMANN_JSON_INCLUDE 0 TESSARON_NLOHMANN_JSON_INCLUDE)
file(COPY "${TESSARON_NLOHMANN_JSON_INCLUDE}/nlohmann" DESTINATION "${PROJECT_BINARY_DIR}/nlohmann-json")
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
                                                              "${PROJECT_BINARY_DIR}/nlohmann-json")

add_library(tessaron_odbc32 INTERFACE)
target_link_libraries(tessaron_odbc32 INTERFACE odbc32)
add_library(PkgConfig::ODBC ALIAS tessaron_odbc32)

# Windows headers: Windows Server 2003 and later, no min/max macros; the
# runtime's localtime_r as on POSIX systems.
add_compile_definitions(_WIN32_WINNT=0x0502 WINVER=0x0502 NOMINMAX
                        _POSIX_THREAD_SAFE_FUNCTIONS=200112L)

if(TESSARON_BUILD_TESTS)
  set(TESSARON_GOOGLETEST_SOURCE /usr/src/googletest/googletest
      CACHE PATH "GoogleTest's source (Debian package googletest)")
  add_subdirectory(${TESSARON_GOOGLETEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

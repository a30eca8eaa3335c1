# pugixml for the metabase, as the target tessaron_pugixml.
#
# The metabase keeps MetaBase.xml's tree for the whole run, and pugixml's
# compact layout holds that tree in about a fifth of the memory of its
# ordinary one (and parses no slower, as less memory is touched). The layout
# is chosen when pugixml itself is compiled, so pugixml is compiled here from
# its source: Debian's source package, which scripts/setup.sh unpacks into
# build-deps/ (or the folder TESSARON_PUGIXML_SOURCE names). Where no source
# is at hand, Debian's library (the ordinary layout) serves on Linux.

# Compiles pugixml from the source folder (holding src/pugixml.cpp) in its
# compact layout.
function(tessaron_compact_pugixml source)
  add_library(tessaron_pugixml STATIC "${source}/src/pugixml.cpp")
  target_include_directories(tessaron_pugixml SYSTEM PUBLIC "${source}/src")
  # Part of pugixml's interface too (it changes the noexcept of moves).
  target_compile_definitions(tessaron_pugixml PUBLIC PUGIXML_COMPACT)
endfunction()

set(TESSARON_PUGIXML_SOURCE "" CACHE PATH "Unpacked pugixml source (holding src/pugixml.cpp)")
if(NOT TESSARON_PUGIXML_SOURCE)
  file(GLOB unpacked LIST_DIRECTORIES true "${PROJECT_SOURCE_DIR}/build-deps/pugixml-*")
  foreach(candidate ${unpacked})
    if(EXISTS "${candidate}/src/pugixml.cpp")
      set(TESSARON_PUGIXML_SOURCE "${candidate}")
    endif()
  endforeach()
endif()

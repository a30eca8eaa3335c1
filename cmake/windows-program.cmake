# The Windows program's packaging, shared by its executables:
#  - resources (icon, manifest, version information) compiled with windres;
#  - after each link the import check (cmake/windows/check-imports.sh): only
#    Windows' own DLLs, no function newer than the release the architecture
#    is for (TESSARON_WINDOWS_MINIMUM of the toolchain file);
#  - the release copy in release/, stripped, with its debug information beside
#    it (NAME.debug, linked by a .gnu_debuglink section);
#  - the MSI of the release copies (wixl).
if(NOT TESSARON_WINDOWS_MINIMUM)
  message(FATAL_ERROR "the toolchain file must set TESSARON_WINDOWS_MINIMUM")
endif()

# The version is the one --version prints, kept once in the code.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/app/unattended/CommandLineParsing.h TESSARON_VERSION_LINE
     REGEX "kVersion = \"[0-9]+\\.[0-9]+\\.[0-9]+\"")
string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" TESSARON_VERSION "${TESSARON_VERSION_LINE}")
if(NOT TESSARON_VERSION)
  message(FATAL_ERROR "no kVersion in src/app/unattended/CommandLineParsing.h")
endif()
string(REPLACE "." "," TESSARON_VERSION_COMMAS "${TESSARON_VERSION},0")
set(TESSARON_VERSION_QUAD "${TESSARON_VERSION}.0")

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(TESSARON_MANIFEST_ARCHITECTURE amd64)
  set(TESSARON_MSI_ARCHITECTURE x64)
else()
  set(TESSARON_MANIFEST_ARCHITECTURE x86)
  set(TESSARON_MSI_ARCHITECTURE x86)
endif()

set(TESSARON_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging/windows)
set(TESSARON_IMPORT_CHECK ${PROJECT_SOURCE_DIR}/cmake/windows/check-imports.sh)
set(TESSARON_RELEASE_DIR ${PROJECT_BINARY_DIR}/release)

# Resources, import check and release copy of one program; `description` is
# its version information's FileDescription, `level` the manifest's
# requestedExecutionLevel.
function(tessaron_windows_program target description level)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  get_target_property(suffix ${target} SUFFIX)
  if(NOT suffix)
    set(suffix .exe)
  endif()
  set(TESSARON_RESOURCE_FILE ${name}${suffix})
  set(TESSARON_RESOURCE_DESCRIPTION ${description})
  set(TESSARON_EXECUTION_LEVEL ${level})
  set(TESSARON_ICON ${TESSARON_PACKAGING_DIR}/tessaron-config.ico)
  set(TESSARON_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  configure_file(${TESSARON_PACKAGING_DIR}/tessaron-config.manifest.in ${TESSARON_MANIFEST} @ONLY)
  configure_file(${TESSARON_PACKAGING_DIR}/tessaron-config.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  set(resources ${CMAKE_CURRENT_BINARY_DIR}/${target}.res.o)
  add_custom_command(OUTPUT ${resources}
    COMMAND ${CMAKE_RC_COMPILER} -O coff -i ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc -o ${resources}
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc ${TESSARON_MANIFEST} ${TESSARON_ICON}
    COMMENT "Compiling the resources of ${TESSARON_RESOURCE_FILE}" VERBATIM)
  set_source_files_properties(${resources} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE ${resources})

  set(release ${TESSARON_RELEASE_DIR}/${TESSARON_RESOURCE_FILE})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND bash ${TESSARON_IMPORT_CHECK} ${CMAKE_OBJDUMP} $<TARGET_FILE:${target}>
            ${TESSARON_WINDOWS_MINIMUM}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TESSARON_RELEASE_DIR}
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${release}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all $<TARGET_FILE:${target}> ${release}
    COMMAND ${CMAKE_COMMAND} -E chdir ${TESSARON_RELEASE_DIR}
            ${CMAKE_OBJCOPY} --add-gnu-debuglink=${TESSARON_RESOURCE_FILE}.debug ${release}
    COMMENT "Checking the imports of ${TESSARON_RESOURCE_FILE}; stripped copy in release/"
    VERBATIM)
endfunction()

# The command that builds the MSI `msi` of the release copies with the given
# version, and what it depends on.
function(tessaron_installer_command msi version window console)
  set(wxs ${TESSARON_PACKAGING_DIR}/tessaron-config.wxs)
  find_program(TESSARON_WIXL wixl REQUIRED)
  # wixl takes the files' sources only as paths relative to where it runs.
  file(RELATIVE_PATH packaging ${PROJECT_BINARY_DIR} ${TESSARON_PACKAGING_DIR})
  add_custom_command(OUTPUT ${msi}
    COMMAND ${TESSARON_WIXL} --arch ${TESSARON_MSI_ARCHITECTURE}
            -D Platform=${TESSARON_MSI_ARCHITECTURE} -D Version=${version}
            -D ReleaseDir=release -D PackagingDir=${packaging} -o ${msi} ${wxs}
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    DEPENDS ${window} ${console} ${wxs} ${TESSARON_PACKAGING_DIR}/tessaron-config.ico
    COMMENT "Building the installer ${msi}" VERBATIM)
endfunction()

# The MSI of the program (`window`, GUI subsystem) and its console companion
# (`console`): per-machine, into Program Files, with a Start-menu entry.
function(tessaron_windows_installer window console)
  set(msi ${PROJECT_BINARY_DIR}/tessaron-config-${TESSARON_VERSION}-${TESSARON_MSI_ARCHITECTURE}.msi)
  tessaron_installer_command(${msi} ${TESSARON_VERSION} ${window} ${console})
  add_custom_target(tessaron-config-msi ALL DEPENDS ${msi})
  set(TESSARON_MSI ${msi} PARENT_SCOPE)
endfunction()

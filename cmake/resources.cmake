# The executable's resources: icon, version information and manifest, compiled by windres.
# Included from the top CMakeLists.txt in the Windows build; sets LINKVANE_RESOURCES for
# add_executable(linkvane ...).

enable_language(RC)

# The version comes from project() alone; the resources only reformat it.
set(LINKVANE_VERSION_PARTS ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR})
foreach(part PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    list(APPEND LINKVANE_VERSION_PARTS 0)
  else()
    list(APPEND LINKVANE_VERSION_PARTS ${PROJECT_VERSION_${part}})
  endif()
endforeach()
list(JOIN LINKVANE_VERSION_PARTS "," LINKVANE_VERSION_COMMAS)
list(JOIN LINKVANE_VERSION_PARTS "." LINKVANE_VERSION_QUAD)

set(LINKVANE_FILE_DESCRIPTION "Linkvane - opens web-location shortcut files in a browser")
set(LINKVANE_COPYRIGHT "Copyright (C) 2026 the Linkvane developers")

set(LINKVANE_ICON_FILE ${CMAKE_SOURCE_DIR}/res/linkvane.ico)
set(LINKVANE_MANIFEST_FILE ${CMAKE_BINARY_DIR}/res/linkvane.manifest)
# The template's comments explain the manifest to its readers; Windows needs none of them, and
# every byte of the manifest is a byte of the executable.
file(READ ${CMAKE_SOURCE_DIR}/res/linkvane.manifest.in LINKVANE_MANIFEST_TEMPLATE)
string(REGEX REPLACE "[ \n]*<!--([^-]|-[^-])*-->" "" LINKVANE_MANIFEST_TEMPLATE
       "${LINKVANE_MANIFEST_TEMPLATE}")
string(REGEX REPLACE "\n\n+" "\n" LINKVANE_MANIFEST_TEMPLATE "${LINKVANE_MANIFEST_TEMPLATE}")
string(CONFIGURE "${LINKVANE_MANIFEST_TEMPLATE}" LINKVANE_MANIFEST_TEXT @ONLY)
file(GENERATE OUTPUT ${LINKVANE_MANIFEST_FILE} CONTENT "${LINKVANE_MANIFEST_TEXT}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${CMAKE_SOURCE_DIR}/res/linkvane.manifest.in)
configure_file(${CMAKE_SOURCE_DIR}/res/linkvane.rc.in ${CMAKE_BINARY_DIR}/res/linkvane.rc @ONLY)

# A target of its own, so that the C++ compile options of the directory and of linkvane (warning
# flags, -municode, ...), which windres does not understand, stay away from the resource script.
# One string table for each language beside English, which is in the code.
file(GLOB LINKVANE_LANGUAGE_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/lang/*.rc)
add_library(linkvane_resources OBJECT ${CMAKE_BINARY_DIR}/res/linkvane.rc
                                      ${LINKVANE_LANGUAGE_RESOURCES})
set_property(TARGET linkvane_resources PROPERTY COMPILE_OPTIONS "")
# The dialog's control ids and the texts' ids come from the headers the code includes.
target_include_directories(linkvane_resources PRIVATE ${CMAKE_SOURCE_DIR}/src)
set_property(SOURCE ${LINKVANE_LANGUAGE_RESOURCES} APPEND PROPERTY OBJECT_DEPENDS
             ${CMAKE_SOURCE_DIR}/src/language/text_ids.h)
set_property(SOURCE ${CMAKE_BINARY_DIR}/res/linkvane.rc APPEND PROPERTY OBJECT_DEPENDS
             ${LINKVANE_ICON_FILE} ${LINKVANE_MANIFEST_FILE}
             ${CMAKE_SOURCE_DIR}/src/platform/win32/chooser_resource.h
             ${CMAKE_SOURCE_DIR}/src/language/text_ids.h)

set(LINKVANE_RESOURCES $<TARGET_OBJECTS:linkvane_resources>)

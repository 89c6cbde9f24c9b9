# The release files, built by the release preset (scripts/package): the portable zip, the
# installer and SHA256SUMS, in ${CMAKE_BINARY_DIR}/dist. Included from the top CMakeLists.txt when
# LINKVANE_RELEASE is on.
#
# The version comes from project() alone; the text files are templates in package/, filled in
# here and written with CRLF line ends; the installer's script, package/linkvane.nsi, is given
# the version on makensis' command line. Every byte is reproducible: the compile and link options
# of the Windows build drop paths and timestamps, and the zip's times come from
# LINKVANE_SOURCE_DATE_EPOCH (scripts/package takes it from the last commit), which makensis
# also reads for the installer's own time stamp.
#
# Signed when LINKVANE_SIGN_PFX names a certificate (scripts/package sets it, and puts the
# password where package/sign finds it): linkvane.exe before it is packed, and, through
# package/linkvane.nsi, the uninstaller and the installer. The cache holds no password; its
# variables are set on every configure, so an unsigned build after a signed one rebuilds
# everything that was signed. The package manifests (winget, Scoop) are templates in package/,
# their hashes filled in by package/assemble.py.

find_package(Python3 COMPONENTS Interpreter REQUIRED)
find_program(LINKVANE_MAKENSIS makensis REQUIRED)
set(LINKVANE_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}" CACHE STRING
    "Seconds since 1970 (UTC) that the release's file times are set to")
if(NOT LINKVANE_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
  message(FATAL_ERROR "The release needs LINKVANE_SOURCE_DATE_EPOCH (or SOURCE_DATE_EPOCH): "
                      "the time of the last commit, as scripts/package sets it")
endif()

set(LINKVANE_SIGN_PFX "" CACHE FILEPATH "The .pfx that signs the release; empty: unsigned")
set(LINKVANE_SIGN_TIMESTAMP_URL "" CACHE STRING "RFC 3161 server for the signatures; empty: none")
set(LINKVANE_MAKENSIS_SIGN)
if(LINKVANE_SIGN_PFX)
  set(LINKVANE_SIGN_ENV LINKVANE_SIGN_PFX=${LINKVANE_SIGN_PFX}
                        LINKVANE_SIGN_TIMESTAMP_URL=${LINKVANE_SIGN_TIMESTAMP_URL})
  set(LINKVANE_STAGE_EXE ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${LINKVANE_SOURCE_DATE_EPOCH}
                         ${LINKVANE_SIGN_ENV} ${CMAKE_SOURCE_DIR}/package/sign)
  set(LINKVANE_MAKENSIS_SIGN -DSIGN=${CMAKE_SOURCE_DIR}/package/sign)
  set(LINKVANE_SIGN_DEPENDS ${LINKVANE_SIGN_PFX} ${CMAKE_SOURCE_DIR}/package/sign)
else()
  set(LINKVANE_STAGE_EXE ${CMAKE_COMMAND} -E copy)
endif()

set(LINKVANE_STAGE ${CMAKE_BINARY_DIR}/stage)
set(LINKVANE_DIST ${CMAKE_BINARY_DIR}/dist)
set(LINKVANE_TEXT_FILES README.txt browser.dat.example register.cmd unregister.cmd
                        choose-browser.cmd)
set(staged)
foreach(name ${LINKVANE_TEXT_FILES})
  configure_file(${CMAKE_SOURCE_DIR}/package/${name}.in ${LINKVANE_STAGE}/${name} @ONLY
                 NEWLINE_STYLE CRLF)
  list(APPEND staged ${LINKVANE_STAGE}/${name})
endforeach()

add_custom_command(OUTPUT ${LINKVANE_STAGE}/linkvane.exe
                   COMMAND ${LINKVANE_STAGE_EXE} $<TARGET_FILE:linkvane>
                           ${LINKVANE_STAGE}/linkvane.exe
                   DEPENDS linkvane ${LINKVANE_SIGN_DEPENDS})

set(LINKVANE_SETUP ${CMAKE_BINARY_DIR}/linkvane-${PROJECT_VERSION}-setup.exe)
file(GLOB LINKVANE_NSIS_LANGUAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/package/lang/*.nsh)
add_custom_command(
  OUTPUT ${LINKVANE_SETUP}
  COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${LINKVANE_SOURCE_DATE_EPOCH}
          ${LINKVANE_SIGN_ENV} ${LINKVANE_MAKENSIS} -V2 -WX ${LINKVANE_MAKENSIS_SIGN}
          -DVERSION=${PROJECT_VERSION}
          -DVERSION_QUAD=${LINKVANE_VERSION_QUAD} "-DPUBLISHER=${LINKVANE_COMPANY}"
          -DSTAGE=${LINKVANE_STAGE} -DICON=${LINKVANE_ICON_FILE} -DOUTFILE=${LINKVANE_SETUP}
          ${CMAKE_SOURCE_DIR}/package/linkvane.nsi
  DEPENDS ${CMAKE_SOURCE_DIR}/package/linkvane.nsi ${LINKVANE_NSIS_LANGUAGES} ${LINKVANE_ICON_FILE}
          ${LINKVANE_STAGE}/linkvane.exe ${staged} ${LINKVANE_SIGN_DEPENDS}
  COMMENT "Building the installer with NSIS")

set(LINKVANE_ZIP linkvane-${PROJECT_VERSION}-win32.zip)

# The manifests, each with its final name; "${sha256:<file>}" stays for assemble.py.
set(LINKVANE_SETUP_NAME linkvane-${PROJECT_VERSION}-setup.exe)
set(LINKVANE_ZIP_NAME ${LINKVANE_ZIP})
set(LINKVANE_SETUP_URL ${LINKVANE_DOWNLOAD_BASE}/v${PROJECT_VERSION}/${LINKVANE_SETUP_NAME})
set(LINKVANE_ZIP_URL ${LINKVANE_DOWNLOAD_BASE}/v${PROJECT_VERSION}/${LINKVANE_ZIP_NAME})
list(TRANSFORM LINKVANE_TAGS PREPEND "  - " OUTPUT_VARIABLE LINKVANE_WINGET_TAGS)
list(JOIN LINKVANE_WINGET_TAGS "\n" LINKVANE_WINGET_TAGS)
set(manifests)
foreach(template winget.yaml winget.installer.yaml winget.locale.en-US.yaml scoop.json)
  string(REPLACE "winget" "${LINKVANE_WINGET_ID}" name ${template})
  string(REPLACE "scoop" "linkvane" name ${name})
  configure_file(${CMAKE_SOURCE_DIR}/package/${template}.in ${CMAKE_BINARY_DIR}/manifests/${name}
                 @ONLY NEWLINE_STYLE UNIX)
  list(APPEND manifests ${CMAKE_BINARY_DIR}/manifests/${name})
endforeach()
add_custom_command(
  OUTPUT ${LINKVANE_DIST}/${LINKVANE_ZIP} ${LINKVANE_DIST}/SHA256SUMS
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/package/assemble.py
          --epoch ${LINKVANE_SOURCE_DATE_EPOCH} --dist ${LINKVANE_DIST}
          --zip ${LINKVANE_ZIP} --add ${LINKVANE_SETUP} --fill ${manifests}
          -- ${LINKVANE_STAGE}/linkvane.exe ${staged}
  DEPENDS ${CMAKE_SOURCE_DIR}/package/assemble.py ${LINKVANE_STAGE}/linkvane.exe ${staged}
          ${LINKVANE_SETUP} ${manifests}
  COMMENT "Assembling ${LINKVANE_ZIP}, the manifests and SHA256SUMS")
add_custom_target(release ALL DEPENDS ${LINKVANE_DIST}/${LINKVANE_ZIP} ${LINKVANE_DIST}/SHA256SUMS)

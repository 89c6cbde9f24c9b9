# What the product says of itself, in one place: the version resource, the installer and the
# package manifests of the release (winget, Scoop) take it from here. The version and the
# one-line description are those of project() in the top CMakeLists.txt.

set(LINKVANE_PRODUCT_NAME "Linkvane")
set(LINKVANE_COMPANY "The Linkvane developers")
# No licence has been granted: all rights stay with the developers (SPDX has no identifier for
# that; winget and Scoop both read "Proprietary").
set(LINKVANE_LICENSE "Proprietary")
set(LINKVANE_HOMEPAGE "https://linkvane.example.org")
set(LINKVANE_TAGS shortcut url webloc desktop browser)
# winget's package identifier: <publisher>.<package>.
set(LINKVANE_WINGET_ID "Linkvane.Linkvane")

# Where the release's files are downloaded from: <base>/v<version>/<file name>, as the
# manifests' URLs say (a GitHub project's is https://github.com/<owner>/<repo>/releases/download).
set(LINKVANE_DOWNLOAD_BASE "https://linkvane.example.org/download" CACHE STRING
    "The release's download folder, https: and without a slash at the end")
if(NOT LINKVANE_DOWNLOAD_BASE MATCHES "^https://[^ \"]+[^/ \"]$")
  message(FATAL_ERROR "LINKVANE_DOWNLOAD_BASE must be an https: URL without a slash at the "
                      "end, not \"${LINKVANE_DOWNLOAD_BASE}\"")
endif()

# The Debian package of the installed tree: `./svl package` configures a
# Release build with the prefix /usr and runs `cpack -G DEB` in it.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME svl-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The SVL_Editor developers")
set(CPACK_PACKAGE_CONTACT "The SVL_Editor developers <svl-editor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "DVB channel-list editor and TV application with an emulated card")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "SVL_Editor edits DVB channel lists (.svl files) and drives a DVB card through
the client library libkestrel: programme guide, teletext, recording and
playback, timer recordings and the CI menu. The package brings the emulated
card nvdvbsrv with a synthetic demo broadcast, the library with its headers
and pkg-config file, and the shell tools svltool, dvbctl, kregistry,
mkdemomux and svlepg. The user interface is German.")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
# The libraries the programs link, found by dpkg-shlibdeps; the shlibs file and
# the ldconfig trigger for libkestrel.so.1.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY "=")
# What the programs start at run time: the launcher is a bash script, the
# desktop entry and the mime type are read through their databases (whose
# packages refresh them by their own triggers), mkdemomux runs ffmpeg, the
# program mails through xdg-email. The Qt libraries only recommend their
# platform plugins, without which no window opens; the videotext window draws
# with DejaVu Sans Mono.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "bash, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, xdg-utils, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ffmpeg")
# The test of the package itself builds it uncompressed.
if(NOT CPACK_DEBIAN_COMPRESSION_TYPE)
  set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
endif()
include(CPack)

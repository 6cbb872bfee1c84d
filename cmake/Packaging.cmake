# Install rules, and the packages CPack makes from them (the version is the project's):
#   Linux:   tessaro_<version>_amd64.deb with bin/tessaro, its manual page and the README;
#   Windows: tessaro-<version>-windows-x64.zip with the window program tessaro.exe and a
#            Japanese guide, in one folder (the program keeps its settings file beside itself).
include(GNUInstallDirs)

# A package holds only the programs: `cpack` installs without first building every target
# (tests, benchmarks); the programs are built before it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_PACKAGE_NAME tessaro)
set(CPACK_PACKAGE_VENDOR Tessaro)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert Jw_cad drawings into COLLADA documents")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Tessaro converts 2D Jw_cad drawings (.jww, .jws, .jwc, .jwk) into\n"
  "COLLADA 1.4.1 documents (.dae) that 3D tools load: one document per\n"
  "drawing, one geometry per layer and colour.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  install(TARGETS tessaro_gui RUNTIME DESTINATION .)
  # The guide is UTF-8 with a byte-order mark, so that Notepad reads it as such; CR LF lines.
  set(guide "${CMAKE_BINARY_DIR}/はじめにお読みください.txt")
  configure_file(doc/WindowsGuide.txt "${guide}" @ONLY NEWLINE_STYLE CRLF)
  install(FILES "${guide}" DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "tessaro-${PROJECT_VERSION}-windows-x64")
else()
  install(TARGETS tessaro RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Manual pages are installed compressed, as Debian expects.
  set(manual "${CMAKE_BINARY_DIR}/tessaro.1.gz")
  file(ARCHIVE_CREATE OUTPUT "${manual}" PATHS "${CMAKE_SOURCE_DIR}/doc/tessaro.1" FORMAT raw COMPRESSION GZip)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/doc/tessaro.1")
  install(FILES "${manual}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tessaro)

  set(TESSARO_MAINTAINER "Tessaro maintainers <maintainers@tessaro.invalid>"
      CACHE STRING "Maintainer of the Debian package")
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TESSARO_MAINTAINER}")
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The free fonts that draw the Gothic and Mincho texts of drawings (--text).
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipaexfont-gothic, fonts-ipaexfont-mincho")
endif()

# The C library, its header and its CMake package (find_package(Tessaro), then
# Tessaro::tessaro), only for `cmake --install build --component capi`: neither a plain
# install nor the packages above hold them.
install(TARGETS tessaro_c EXPORT TessaroTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT capi NAMELINK_COMPONENT capi EXCLUDE_FROM_ALL
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT capi EXCLUDE_FROM_ALL
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT capi EXCLUDE_FROM_ALL)
install(FILES include/tessaro.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT capi EXCLUDE_FROM_ALL)
set(TESSARO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tessaro)
install(EXPORT TessaroTargets NAMESPACE Tessaro:: DESTINATION ${TESSARO_CMAKE_DIR} COMPONENT capi EXCLUDE_FROM_ALL)
include(CMakePackageConfigHelpers)
configure_package_config_file(cmake/TessaroConfig.cmake.in ${CMAKE_BINARY_DIR}/TessaroConfig.cmake
  INSTALL_DESTINATION ${TESSARO_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/TessaroConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/TessaroConfig.cmake ${CMAKE_BINARY_DIR}/TessaroConfigVersion.cmake
  DESTINATION ${TESSARO_CMAKE_DIR} COMPONENT capi EXCLUDE_FROM_ALL)

include(CPack)

# make package: a Debian package of both programs and the desktop data, built by CPack in the
# build folder (voveriz_VERSION-RELEASE_ARCH.deb). Its library dependencies come from
# dpkg-shlibdeps on the binaries, not from a list kept by hand.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME voveriz)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bulk photo resizer")
set(CPACK_PACKAGE_DESCRIPTION [=[
Voveriz scales many photos down to one size at once. Choose a folder for the
results, say whether the size applies to the width or the height, type it in
pixels, and drop photos anywhere on the window. Each photo larger than the
target is scaled down with its aspect ratio kept, a smaller one is copied
unchanged, originals are never changed and no file is ever overwritten.

It reads JPEG, PNG, TIFF, BMP, GIF, WebP, HEIC, AVIF, JPEG XL and more.
voveriz-cli does the same work from the shell.]=])
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Voveriz developers <developers@voveriz.org>")
# The package's Homepage field; the AppStream metainfo (data/) names the same page.
set(VOVERIZ_HOMEPAGE https://voveriz.org/)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VOVERIZ_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads the window's platform plugin at run time, so no linked library names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
# Where libheif comes in parts (Debian 13), its HEIC decoder and its HEIC and AVIF encoders are
# plugins it loads at run time: recommended where this machine has them installed.
foreach(plugin libheif-plugin-libde265 libheif-plugin-x265 libheif-plugin-aomenc)
  execute_process(COMMAND dpkg-query -W -f=\${Status} ${plugin}
                  OUTPUT_VARIABLE plugin_status ERROR_QUIET RESULT_VARIABLE plugin_missing)
  if(plugin_missing EQUAL 0 AND plugin_status STREQUAL "install ok installed")
    string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", ${plugin}")
  endif()
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
# Folders 0755 whatever the umask of the one who builds the package.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# /usr/share/doc/voveriz: the copyright file in Debian's machine-readable format, made from
# LICENSE, and the package's changelog, compressed as Debian wants it.
set(VOVERIZ_PACKAGE_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license_text)
if(NOT license_text MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(.*)$")
  message(FATAL_ERROR "LICENSE: no \"Copyright (c) ...\" line followed by the licence text")
endif()
set(VOVERIZ_COPYRIGHT "${CMAKE_MATCH_1}")
string(STRIP "${CMAKE_MATCH_2}" license_body)
string(REPLACE "\n\n" "\n.\n" license_body "${license_body}")
string(REPLACE "\n" "\n " VOVERIZ_LICENSE_BODY " ${license_body}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian-copyright.in ${PROJECT_BINARY_DIR}/package/copyright @ONLY)

configure_file(${CMAKE_CURRENT_LIST_DIR}/debian-changelog.in ${PROJECT_BINARY_DIR}/package/changelog.Debian @ONLY)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/package/changelog.Debian.gz
  COMMAND gzip -9 -n -k -f changelog.Debian
  DEPENDS ${PROJECT_BINARY_DIR}/package/changelog.Debian
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/package
  VERBATIM)
add_custom_target(package_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/package/changelog.Debian.gz)

install(FILES ${PROJECT_BINARY_DIR}/package/copyright ${PROJECT_BINARY_DIR}/package/changelog.Debian.gz
        DESTINATION ${VOVERIZ_PACKAGE_DOC_DIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${CPACK_PACKAGE_NAME})

include(CPack)

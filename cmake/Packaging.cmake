# Install rules and the Debian package (cpack, target `package`).
#
# Layout: the program and its knowledge base share /usr/lib/tervolin/, because both tervolin and tervolin-kb
# look for db1.mdb in their own directory (QCoreApplication::applicationDirPath, which resolves the symlink
# through /proc/self/exe). /usr/bin holds relative symlinks to them.

set(TERVOLIN_PKG_DIR lib/tervolin)
set(TERVOLIN_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(TERVOLIN_PACKAGING_BUILD_DIR ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${TERVOLIN_PACKAGING_BUILD_DIR})

# Debian policy: directories 0755, files 0644, programs 0755, whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS tervolin tervolin-kb RUNTIME DESTINATION ${TERVOLIN_PKG_DIR})
install(FILES ${PROJECT_BINARY_DIR}/db1.mdb DESTINATION ${TERVOLIN_PKG_DIR})

foreach(program tervolin tervolin-kb)
  file(CREATE_LINK ../${TERVOLIN_PKG_DIR}/${program} ${TERVOLIN_PACKAGING_BUILD_DIR}/${program} SYMBOLIC)
  install(FILES ${TERVOLIN_PACKAGING_BUILD_DIR}/${program} DESTINATION bin)
endforeach()

# The desktop entry is named after the AppStream id, so that software centres pair it with the metadata.
set(TERVOLIN_APP_ID io.github.tervolin.Tervolin)
install(FILES ${TERVOLIN_PACKAGING_DIR}/${TERVOLIN_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${TERVOLIN_PACKAGING_DIR}/${TERVOLIN_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${TERVOLIN_PACKAGING_DIR}/tervolin-dump.xml DESTINATION share/mime/packages)
install(FILES ${TERVOLIN_PACKAGING_DIR}/tervolin-kb.bash-completion
        DESTINATION share/bash-completion/completions RENAME tervolin-kb)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/app/resources/icon-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME tervolin.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/app/resources/tervolin.svg DESTINATION share/icons/hicolor/scalable/apps)

# Manual pages and the changelog go in compressed, without timestamps (reproducible).
find_program(TERVOLIN_GZIP gzip REQUIRED)
set(TERVOLIN_COMPRESSED_DOCS)
foreach(source tervolin.1 tervolin-kb.1 changelog)
  set(output ${TERVOLIN_PACKAGING_BUILD_DIR}/${source}.gz)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${TERVOLIN_GZIP} -9 -n -c ${TERVOLIN_PACKAGING_DIR}/${source} > ${output}
    DEPENDS ${TERVOLIN_PACKAGING_DIR}/${source}
    COMMENT "Compressing ${source}")
  list(APPEND TERVOLIN_COMPRESSED_DOCS ${output})
endforeach()
add_custom_target(packaging_docs ALL DEPENDS ${TERVOLIN_COMPRESSED_DOCS})
install(FILES ${TERVOLIN_PACKAGING_BUILD_DIR}/tervolin.1.gz ${TERVOLIN_PACKAGING_BUILD_DIR}/tervolin-kb.1.gz
        DESTINATION share/man/man1)
install(FILES ${TERVOLIN_PACKAGING_DIR}/copyright DESTINATION share/doc/tervolin)
install(FILES ${TERVOLIN_PACKAGING_BUILD_DIR}/changelog.gz DESTINATION share/doc/tervolin RENAME changelog.gz)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tervolin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# The project's contact and home; the same in copyright, changelog and the AppStream metadata.
set(CPACK_PACKAGE_VENDOR "Tervolin developers")
set(CPACK_PACKAGE_CONTACT "Tervolin developers <developers@tervolin.org>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/tervolin/tervolin")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "explains Windows stop codes in Simplified Chinese")
# The summary is the control file's first Description line; this is the paragraph below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Tervolin is a small desktop tool: type a Windows stop code (the code of the
blue crash screen) or pick one from the list, and read the analysis and the
solution in Simplified Chinese. tervolin-kb reads, exports and converts the
knowledge base on the command line.")
# Libraries found by dpkg-shlibdeps; besides them the window needs Qt's X11 platform plugin and CJK fonts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-noto-cjk, fonts-arphic-uming, fonts-arphic-ukai")
# Qt's own Chinese texts for the standard dialogs; without them the program uses its own button texts.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

# `make package` (cpack in the build folder): a Debian package that installs the program, the
# command-line restore and the directory module into /usr/lib/tarvik with links in /usr/bin, the
# sample TARVIK.INI as a configuration file in /etc/tarvik (linked from beside the program, where
# it is looked for), the desktop entry, the icons, both manual pages and the package's documents.
# It packs what the build made; it builds nothing again.

set(TARVIK_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)

# Manual pages and the changelog go compressed, without a time stamp, as Debian wants them.
function(tarvik_gzip source target)
    add_custom_command(OUTPUT ${target}
        COMMAND gzip -9nc ${source} > ${target}
        DEPENDS ${source} VERBATIM)
endfunction()
tarvik_gzip(${PROJECT_SOURCE_DIR}/app/desktop/tarvik.1 ${TARVIK_PACKAGE_DIR}/tarvik.1.gz)
tarvik_gzip(${PROJECT_SOURCE_DIR}/cli/tarvik-restore.1 ${TARVIK_PACKAGE_DIR}/tarvik-restore.1.gz)
tarvik_gzip(${PROJECT_SOURCE_DIR}/package/changelog ${TARVIK_PACKAGE_DIR}/changelog.gz)
add_custom_target(tarvik_package_files ALL DEPENDS
    ${TARVIK_PACKAGE_DIR}/tarvik.1.gz ${TARVIK_PACKAGE_DIR}/tarvik-restore.1.gz
    ${TARVIK_PACKAGE_DIR}/changelog.gz)

include(GNUInstallDirs)
install(FILES ${TARVIK_PACKAGE_DIR}/tarvik.1.gz ${TARVIK_PACKAGE_DIR}/tarvik-restore.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/package/copyright ${TARVIK_PACKAGE_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvik)

file(WRITE ${TARVIK_PACKAGE_DIR}/conffiles "/etc/tarvik/TARVIK.INI\n")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VENDOR Marrowby)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "TARVIK developers <tarvik@marrowby.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "restore directory objects from a backup server")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop program with which a directory administrator browses the directory\n"
    "tree a backup server holds (containers and leaf objects, present or deleted),\n"
    "marks objects or whole subtrees, picks a version of each and restores them,\n"
    "with a result for every object. tarvik-restore restores from the command line\n"
    "by the same rules. The backup server is an LDAP directory with its LDIF\n"
    "snapshots, a domain controller, or a simulation.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The installation runs with the prefix /usr under a staging root, so that the configuration can
# go to /etc beside it.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${TARVIK_PACKAGE_DIR}/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

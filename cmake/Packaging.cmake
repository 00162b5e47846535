# Install rules and the Debian package.
#
# `cmake --install` puts the programs, the desktop entry, the icon, the
# AppStream metainfo and the manual page in place; `cpack -G DEB` wraps the
# same files into a .deb. Included from the top-level CMakeLists.txt after
# every subdirectory, so the targets it installs already exist.

include(GNUInstallDirs)

# One id names the desktop entry, the icon and the metainfo, as desktops and
# software centres expect them to match.
set(ROWSHIFT_APP_ID "org.rowshift.rowshift")

set(rowshift_packaging_src "${PROJECT_SOURCE_DIR}/packaging")
set(rowshift_packaging_bin "${PROJECT_BINARY_DIR}/packaging")

# The programs link no libraries of this project at run time, so they need
# none of the $ORIGIN search paths that the Qt project setup adds.
set_target_properties(rowshift PROPERTIES INSTALL_RPATH "")
install(TARGETS rowshift RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
set(ROWSHIFT_METAINFO_BINARIES "    <binary>rowshift</binary>")

# The command-line tool, with its manual page, once it is part of the build.
if(TARGET rowshift-cli)
    set_target_properties(rowshift-cli PROPERTIES INSTALL_RPATH "")
    install(TARGETS rowshift-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    string(APPEND ROWSHIFT_METAINFO_BINARIES "\n    <binary>rowshift-cli</binary>")

    # Manual pages are installed compressed; -n leaves out the name and time
    # stamp, so the same page always gives the same package.
    set(rowshift_man_page "${PROJECT_SOURCE_DIR}/docs/rowshift-cli.1")
    find_program(ROWSHIFT_GZIP gzip)
    if(ROWSHIFT_GZIP)
        set(rowshift_man_copy "${rowshift_packaging_bin}/rowshift-cli.1")
        add_custom_command(
            OUTPUT "${rowshift_man_copy}.gz"
            COMMAND ${CMAKE_COMMAND} -E copy "${rowshift_man_page}" "${rowshift_man_copy}"
            COMMAND ${ROWSHIFT_GZIP} -9 -n -f "${rowshift_man_copy}"
            DEPENDS "${rowshift_man_page}"
            COMMENT "Compressing the rowshift-cli manual page"
            VERBATIM)
        add_custom_target(rowshift_man_page ALL DEPENDS "${rowshift_man_copy}.gz")
        install(FILES "${rowshift_man_copy}.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    else()
        install(FILES "${rowshift_man_page}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
endif()

configure_file("${rowshift_packaging_src}/rowshift.desktop.in"
               "${rowshift_packaging_bin}/${ROWSHIFT_APP_ID}.desktop" @ONLY)
configure_file("${rowshift_packaging_src}/rowshift.metainfo.xml.in"
               "${rowshift_packaging_bin}/${ROWSHIFT_APP_ID}.metainfo.xml" @ONLY)

install(FILES "${rowshift_packaging_bin}/${ROWSHIFT_APP_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${rowshift_packaging_bin}/${ROWSHIFT_APP_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES "${rowshift_packaging_src}/rowshift.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME "${ROWSHIFT_APP_ID}.svg")

# The Debian package. Its dependencies on the Qt 6 libraries (and on libc
# and libstdc++) come from dpkg-shlibdeps, which reads the binaries; plugins
# are loaded at run time, so those packages are named here.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "rowshift")
set(CPACK_PACKAGE_VENDOR "rowshift developers")
set(CPACK_PACKAGE_CONTACT "rowshift developers" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "straighten a curved feature in a detector image")
# The long description keeps the line breaks of a Debian control file.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "rowshift straightens a curved feature in a 512 x 512 detector image by"
    "shifting every image row sideways by a whole number of pixels. Two points"
    "give a straight reference line and eight points follow the curved feature;"
    "a least-squares polynomial gives the shift of every row. The corrected"
    "image and the table of shifts can be saved.")
if(TARGET rowshift-cli)
    string(APPEND CPACK_PACKAGE_DESCRIPTION "\n\n"
           "The command-line tool rowshift-cli fits a correction to stored points and\n"
           "applies a stored table of shifts to a series of images.")
endif()
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# TIFF and WebP images are read through these plugins; BMP, PNG and JPEG
# come with libqt6gui6.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)

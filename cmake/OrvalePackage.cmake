# The Debian package: what `cmake --install` puts under /usr, made by `cpack -G DEB` in a
# build configured with CMAKE_INSTALL_PREFIX=/usr (scripts/package does both).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvale)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orvale developers")
set(CPACK_PACKAGE_CONTACT "Orvale developers <orvale@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Development environment for RPG/400 (RPG III) programs")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvale edits RPG/400 programs as trees of named sections written in a free-form statement\n\
language, builds them back into fixed-column RPG III source and moves members to and from\n\
the host's shared folder as EBCDIC.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://localhost/orvale")
# The dependencies are read from the programs' libraries; the program's own libraries live in
# its private folder.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS
    "${CMAKE_INSTALL_PREFIX}/${ORVALE_INSTALL_APPDIR}")
# Qt finds the print dialog's printers through CUPS when it is there; the offscreen and X11
# platforms come with the Qt libraries.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-gtk-platformtheme | qt6-xdgdesktopportal-platformtheme")
include(CPack)

# The Debian package of an install (`make package`, or `cpack -G DEB` in the build folder).
# Its dependencies on shared libraries are found by dpkg-shlibdeps from the installed programs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavlo)
set(CPACK_PACKAGE_VENDOR "The Tavlo developers")
set(CPACK_PACKAGE_CONTACT "The Tavlo developers <developers@tavlo.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "colour-matching puzzle game of turning polygon cells")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://tavlo.example.org/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The long description: CPack puts the summary above it, indents its lines and marks the empty
# line between its paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tavlo is played on a plane of convex polygon cells, three to twelve sides
each, with coloured sides shared between neighbours. Turn a cell one step
and the colours of its sides move one place round it; when all the sides
of a cell share one colour the cell completes, scores and is recoloured,
and completions can cascade into chains. Arcade, Classic and Survival play
through 32 boards, with five player profiles and high-score tables.

The package also holds the modder's tools: tavlo-qpk (data archives),
tavlo-qim (images), tavlo-boardtool (boards) and tavlo-layouttool (screen
layouts).")

include(CPack)

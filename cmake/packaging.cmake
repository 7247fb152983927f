# The Debian package: `cpack --config build/CPackConfig.cmake` in the build
# folder (or `cmake --build build --target package`) writes
# ostrac_<version>_<arch>.deb. Its library dependencies are found by
# dpkg-shlibdeps from the installed programs: the C++ runtime, Qt 6 for
# ostrac and libedit2 for ostrac-cli's line editing, each with the lowest
# version that provides the symbols the programs use.
set(OSTRAC_PACKAGE_MAINTAINER "The Ostrac developers <maintainers@ostrac.invalid>"
    CACHE STRING "Maintainer field of the Debian package: name and e-mail address")

# The change log, compressed as Debian installs it beside the copyright.
set(OSTRAC_CHANGELOG ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(
  OUTPUT ${OSTRAC_CHANGELOG}
  COMMAND gzip -9 -n -c ${CMAKE_CURRENT_LIST_DIR}/changelog > ${OSTRAC_CHANGELOG}
  DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog)
add_custom_target(ostrac_changelog ALL DEPENDS ${OSTRAC_CHANGELOG})
install(FILES ${OSTRAC_CHANGELOG} DESTINATION share/doc/ostrac)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ostrac)
set(CPACK_PACKAGE_VENDOR "The Ostrac developers")
set(CPACK_PACKAGE_CONTACT "${OSTRAC_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programmable scientific calculator")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The engine's large matrix products, inverses and determinants run on
# OpenBLAS, which it loads when it first needs it; dpkg-shlibdeps cannot see
# a library loaded that way, so it is named here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libopenblas0")
# The extended description; CPack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[Ostrac is a scientific calculator with a small programming language of its
own: real, complex, string and matrix values, user functions, loops and
charts. Commands are typed into a console; programs are written in an editor
with a line debugger. It converts between 93 units, computes vector
statistics and polynomial roots, and draws line, pie, bar and area charts.

The package holds the desktop program ostrac and the terminal front end
ostrac-cli.]=])

include(CPack)

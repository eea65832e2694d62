# `cpack` (or `cmake --build build --target package`) makes the Debian package of what
# cmake/Install.cmake installs. Its dependencies on libraries are computed by dpkg-shlibdeps;
# the fonts and Qt's Spanish texts the program loads at run time are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbeta)
set(CPACK_PACKAGE_VENDOR "ORBETA")
set(CPACK_PACKAGE_CONTACT "ORBETA <orbeta@orbeta.example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORBETA_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-urw-base35, qt6-translations-l10n")
# The first line is the synopsis; CPack indents the rest and marks the empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[intermediate precision of an analytical method
ORBETA is a desktop program for analytical quality-control laboratories.
A chemist enters or opens a precision study (analysts, days and replicates)
and the program computes the nested analysis of variance with its F tests
and conclusions, and the precision of the method: repeatability,
reproducibility between days and between analysts, and their coefficients
of variation. It prints two page layouts and stores studies in text files.
The extended analysis gives the variance components, 95 % confidence
intervals and upper bounds of the repeatability and intermediate precision,
Cochran's and Grubbs's tests and the verdict against acceptance limits, with
a variability chart. The study planner finds, before a study is run, how
many analysts, days and replicates show the limits are met with the wanted
probability. The program speaks Spanish.

orbeta-report writes the same report, or its figures as JSON or CSV, and
the planner's table, for scripts.]=])

include(CPack)

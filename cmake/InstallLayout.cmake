# Where `cmake --install` puts the program's parts. The program finds its
# modules and help pages relative to its own folder, so that an installed
# tree works wherever its prefix is (a temporary prefix, /usr in the package).
include(GNUInstallDirs)

set(SORVELLA_PRIVATE_LIBDIR ${CMAKE_INSTALL_LIBDIR}/sorvella)
set(SORVELLA_HELP_DIR ${CMAKE_INSTALL_DATADIR}/sorvella/help)
file(RELATIVE_PATH SORVELLA_PRIVATE_LIBRARY_FOLDER
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/sorvella)
file(RELATIVE_PATH SORVELLA_INSTALLED_HELP_FOLDER
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/sorvella/help)

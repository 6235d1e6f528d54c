# SPDX-License-Identifier: GPL-3.0-or-later
# Where `cmake --install` puts the program's files (GNU layout), and the
# paths from the executable's directory to the installed data, which the
# program follows at run time so that the installed tree can be moved whole.
include(GNUInstallDirs)

# Names the desktop entry, the AppStream component and the icon.
set(QUORVIX_APP_ID example.quorvix.Quorvix)
set(QUORVIX_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/quorvix)
set(QUORVIX_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorvix)

function(quorvix_path_from_bindir dir out)
  cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" OUTPUT_VARIABLE full)
  file(RELATIVE_PATH relative "${CMAKE_INSTALL_FULL_BINDIR}" "${full}")
  set(${out} "${relative}" PARENT_SCOPE)
endfunction()
quorvix_path_from_bindir(${QUORVIX_INSTALL_DATADIR} QUORVIX_BIN_TO_DATA)

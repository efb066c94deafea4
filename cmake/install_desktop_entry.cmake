# Run by `cmake --install`: writes the desktop entry with the prefix of this install, so an entry from a
# prefix off the usual PATH (like /opt/Brush Feather) still starts the game. Set by the caller:
# BF_DESKTOP_TEMPLATE, BF_DESKTOP_OUT, BF_INSTALL_BINDIR, BF_INSTALL_DATADIR.
set(bin "${CMAKE_INSTALL_PREFIX}/${BF_INSTALL_BINDIR}/brushfeather")
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr" OR CMAKE_INSTALL_PREFIX STREQUAL "/usr/local")
  set(BF_DESKTOP_EXEC brushfeather)
else()
  # Inside the quotes of an Exec key a backslash, quote, backquote and dollar take a backslash, and
  # the key's own string escaping doubles every backslash once more.
  string(REPLACE "\\" "\\\\\\\\" quoted "${bin}")
  string(REGEX REPLACE "([\"`$])" "\\\\\\\\\\1" quoted "${quoted}")
  set(BF_DESKTOP_EXEC "\"${quoted}\"")
endif()
configure_file("${BF_DESKTOP_TEMPLATE}" "${BF_DESKTOP_OUT}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${BF_INSTALL_DATADIR}/applications" TYPE FILE
     FILES "${BF_DESKTOP_OUT}")

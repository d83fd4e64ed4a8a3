# Installs the desktop entry with Exec naming the installed program. Run by
# cmake --install, where CMAKE_INSTALL_PREFIX is the prefix being installed to.
if(IS_ABSOLUTE "${ORVANTA_BINDIR}")
  set(program "${ORVANTA_BINDIR}/orvanta")
else()
  set(program "${CMAKE_INSTALL_PREFIX}/${ORVANTA_BINDIR}/orvanta")
endif()
# Characters that need escaping inside an Exec argument: leave the program to
# the search path instead. Other reserved characters are fine within quotes.
if(program MATCHES "[\"`$\\\\]")
  set(ORVANTA_EXEC "orvanta")
elseif(program MATCHES "[ \t\n'<>~|&;*?#()]")
  set(ORVANTA_EXEC "\"${program}\"")
else()
  set(ORVANTA_EXEC "${program}")
endif()
configure_file("${ORVANTA_DESKTOP_IN}" "${ORVANTA_DESKTOP_OUT}" @ONLY)
if(IS_ABSOLUTE "${ORVANTA_APPLICATIONS}")
  set(destination "${ORVANTA_APPLICATIONS}")
else()
  set(destination "${CMAKE_INSTALL_PREFIX}/${ORVANTA_APPLICATIONS}")
endif()
file(INSTALL DESTINATION "${destination}" TYPE FILE FILES "${ORVANTA_DESKTOP_OUT}")

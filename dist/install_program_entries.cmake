# Installs the files that name the installed program by its path, known only
# at install time: the desktop entry and the monitor service. Run by cmake
# --install, where CMAKE_INSTALL_PREFIX is the prefix being installed to.
function(under_prefix path out)
  if(IS_ABSOLUTE "${path}")
    set(${out} "${path}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${path}" PARENT_SCOPE)
  endif()
endfunction()

under_prefix("${ORVANTA_BINDIR}/orvanta" program)

# Characters that need escaping inside a desktop entry's Exec argument: leave
# the program to the search path instead. Other reserved characters are fine
# within quotes.
if(program MATCHES "[\"`$\\\\]")
  set(ORVANTA_EXEC "orvanta")
elseif(program MATCHES "[ \t\n'<>~|&;*?#()]")
  set(ORVANTA_EXEC "\"${program}\"")
else()
  set(ORVANTA_EXEC "${program}")
endif()
configure_file("${ORVANTA_DESKTOP_IN}" "${ORVANTA_DESKTOP_OUT}" @ONLY)
under_prefix("${ORVANTA_APPLICATIONS}" destination)
file(INSTALL DESTINATION "${destination}" TYPE FILE FILES "${ORVANTA_DESKTOP_OUT}")

# systemd reads % as a specifier and $ as a variable; quoted, C escapes apply.
set(ORVANTA_PROGRAM "${program}")
if(program MATCHES "[^A-Za-z0-9/._+-]")
  string(REPLACE "\\" "\\\\" ORVANTA_PROGRAM "${ORVANTA_PROGRAM}")
  string(REPLACE "\"" "\\\"" ORVANTA_PROGRAM "${ORVANTA_PROGRAM}")
  string(REPLACE "%" "%%" ORVANTA_PROGRAM "${ORVANTA_PROGRAM}")
  string(REPLACE "$" "$$" ORVANTA_PROGRAM "${ORVANTA_PROGRAM}")
  set(ORVANTA_PROGRAM "\"${ORVANTA_PROGRAM}\"")
endif()
configure_file("${ORVANTA_UNIT_IN}" "${ORVANTA_UNIT_OUT}" @ONLY)
under_prefix("lib/systemd/system" destination)
file(INSTALL DESTINATION "${destination}" TYPE FILE FILES "${ORVANTA_UNIT_OUT}")

# Run by `cmake --install` after the files are in place: the database beside the program, and the
# desktop entry that starts the program where it now lies.
set(pasta "${CMAKE_INSTALL_PREFIX}/${FAZELAS_PASTA}")

# Made only when none is there: an existing database holds the user's tasks.
execute_process(COMMAND "$ENV{DESTDIR}${pasta}/fazelas-criar-banco" --se-faltar "$ENV{DESTDIR}${pasta}"
                RESULT_VARIABLE resultado)
if(NOT resultado EQUAL 0)
  message(FATAL_ERROR "fazelas-criar-banco could not prepare ${pasta}")
endif()

# The program's path as one quoted argument of Exec, escaped as desktop entries want it.
set(exec "${pasta}/fazelas")
string(REPLACE "\\" "\\\\\\\\" exec "${exec}")
string(REPLACE "\"" "\\\\\"" exec "${exec}")
string(REPLACE "`" "\\\\`" exec "${exec}")
string(REPLACE "$" "\\\\$" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(FAZELAS_EXEC "\"${exec}\"")
set(entrada "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${FAZELAS_DATADIR}/applications/fazelas.desktop")
message(STATUS "Installing: ${entrada}")
configure_file("${FAZELAS_MODELO}" "${entrada}" @ONLY)
# Listed with the installed files, so that removing those removes it too; the database is not.
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entrada}")

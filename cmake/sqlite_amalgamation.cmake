# SQLite for the Windows build: the amalgamation made from Debian's own
# source package of the system's release (with Debian's patches) by
# scripts/sqlite-amalgamation.sh, once: the files stay in the build folder
# and the step runs again only when they are missing or the script changed.
# It is compiled with the cross compiler into the static library
# tovlo_sqlite3, linked by the name SQLite::SQLite3 as on Linux.
set(TOVLO_SQLITE_DIR ${CMAKE_BINARY_DIR}/sqlite3)
add_custom_command(
  OUTPUT ${TOVLO_SQLITE_DIR}/sqlite3.c ${TOVLO_SQLITE_DIR}/sqlite3.h
  COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/sqlite-amalgamation.sh ${TOVLO_SQLITE_DIR}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/sqlite-amalgamation.sh
  COMMENT "Making the SQLite amalgamation from Debian's sqlite3 source package"
  VERBATIM)
add_library(tovlo_sqlite3 STATIC ${TOVLO_SQLITE_DIR}/sqlite3.c ${TOVLO_SQLITE_DIR}/sqlite3.h)
target_include_directories(tovlo_sqlite3 SYSTEM PUBLIC ${TOVLO_SQLITE_DIR})
# Third-party code: its warnings are not ours.
target_compile_options(tovlo_sqlite3 PRIVATE -w)
add_library(SQLite::SQLite3 ALIAS tovlo_sqlite3)

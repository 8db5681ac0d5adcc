# What a Windows user gets: the staged program folder as a zip, and an
# installer made by NSIS (installer/tovlo.nsi), both in the build folder,
# named after the version of the shipped configuration.
find_program(TOVLO_ZIP zip REQUIRED)
find_program(TOVLO_MAKENSIS makensis REQUIRED)
file(STRINGS ${CMAKE_SOURCE_DIR}/dist/config.ini _ver REGEX "^ver=")
string(REGEX REPLACE "^ver=([^\r]*).*" "\\1" TOVLO_VERSION "${_ver}")

set(_zip ${CMAKE_BINARY_DIR}/Tovlo-${TOVLO_VERSION}-windows.zip)
set(_setup ${CMAKE_BINARY_DIR}/Tovlo-${TOVLO_VERSION}-setup.exe)
set(_programs Tovlo Kestrup_updateSelf stage images)
add_custom_target(windows_zip ALL
  COMMAND ${CMAKE_COMMAND} -E rm -f ${_zip}
  COMMAND ${TOVLO_ZIP} -q -r -X ${_zip} .
  WORKING_DIRECTORY ${TOVLO_PROGRAM_DIR}
  COMMENT "Zipping the Windows program folder"
  VERBATIM)
add_custom_target(windows_installer ALL
  COMMAND ${TOVLO_MAKENSIS} -V2 -DPROGRAM_DIR=${TOVLO_PROGRAM_DIR} -DVERSION=${TOVLO_VERSION} -DOUT_FILE=${_setup}
          ${CMAKE_SOURCE_DIR}/installer/tovlo.nsi
  COMMENT "Making the Windows installer"
  VERBATIM)
add_dependencies(windows_zip ${_programs})
add_dependencies(windows_installer ${_programs})

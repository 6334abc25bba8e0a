# The distribution: the folder a user starts tavi.exe from, and a zip of it.
#   tavi.exe   this setup program
#   data1.dat  the tool            (TAVI_TOOL_EXE)
#   data2.dat  the pause program   (TAVI_PAUSE_EXE)
#   readme.txt the tool's help     (TAVI_README)
# The tool, its help and the pause program are not built here; a packager
# gives their paths. Left empty, the test stand-ins take their place and the
# folder's name says so.

set(TAVI_TOOL_EXE "" CACHE FILEPATH "The tool, shipped as data1.dat")
set(TAVI_PAUSE_EXE "" CACHE FILEPATH
    "The pause program, shipped as data2.dat; run as 'Sleep 5000'")
set(TAVI_README "" CACHE FILEPATH "The tool's help text, shipped as readme.txt")

set(_standins "${CMAKE_SOURCE_DIR}/tests/e2e/standins")
add_executable(tavi_standin_tool ${_standins}/tool.cpp)
add_executable(tavi_standin_pause ${_standins}/pause.cpp)
foreach(target tavi_standin_tool tavi_standin_pause)
  # Self-contained, like the setup program.
  target_link_options(${target} PRIVATE -static -s)
endforeach()

set(_standin_TOOL_EXE "$<TARGET_FILE:tavi_standin_tool>")
set(_standin_PAUSE_EXE "$<TARGET_FILE:tavi_standin_pause>")
set(_standin_README "${CMAKE_BINARY_DIR}/standin-readme.txt")
# Written only when it differs, so a configure does not rebuild the zip.
file(CONFIGURE OUTPUT "${_standin_README}" CONTENT "tavi stand-in help text\r\n")

set(_name tavi)
foreach(part TOOL_EXE PAUSE_EXE README)
  if(TAVI_${part})
    set(_${part} "${TAVI_${part}}")
  else()
    set(_${part} "${_standin_${part}}")
    set(_name tavi-standins)
  endif()
endforeach()

set(TAVI_DIST_DIR "${CMAKE_BINARY_DIR}/dist/${_name}" CACHE INTERNAL "")
set(TAVI_DIST_ZIP "${CMAKE_BINARY_DIR}/dist/${_name}.zip" CACHE INTERNAL "")

# A fixed time stamp in the zip, so the same inputs give the same bytes.
add_custom_command(
  OUTPUT "${TAVI_DIST_ZIP}"
  COMMAND ${CMAKE_COMMAND} -E rm -rf "${TAVI_DIST_DIR}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${TAVI_DIST_DIR}"
  COMMAND ${CMAKE_COMMAND} -E copy "$<TARGET_FILE:tavi>" "${TAVI_DIST_DIR}/tavi.exe"
  COMMAND ${CMAKE_COMMAND} -E copy "${_TOOL_EXE}" "${TAVI_DIST_DIR}/data1.dat"
  COMMAND ${CMAKE_COMMAND} -E copy "${_PAUSE_EXE}" "${TAVI_DIST_DIR}/data2.dat"
  COMMAND ${CMAKE_COMMAND} -E copy "${_README}" "${TAVI_DIST_DIR}/readme.txt"
  COMMAND ${CMAKE_COMMAND} -E chdir "${CMAKE_BINARY_DIR}/dist"
          ${CMAKE_COMMAND} -E tar cf "${TAVI_DIST_ZIP}" --format=zip
          "--mtime=2000-01-01 00:00:00 UTC" -- "${_name}/tavi.exe"
          "${_name}/data1.dat" "${_name}/data2.dat" "${_name}/readme.txt"
  DEPENDS tavi tavi_standin_tool tavi_standin_pause
          "${_TOOL_EXE}" "${_PAUSE_EXE}" "${_README}"
  VERBATIM)
add_custom_target(distribution ALL DEPENDS "${TAVI_DIST_ZIP}")

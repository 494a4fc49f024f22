# A Windows build runs where it is built, under Wine or on Windows, laid out
# as windeployqt would: Qt's DLLs and plugins, the MinGW runtime and Qt's
# Japanese translation beside the executables.
get_filename_component(qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
set(program_dlls
  ${qt_prefix}/bin/Qt6Core.dll
  ${qt_prefix}/bin/Qt6Gui.dll
  ${qt_prefix}/bin/Qt6Widgets.dll)
foreach(name libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${name}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}")
    message(FATAL_ERROR "The MinGW runtime ${name} was not found")
  endif()
  list(APPEND program_dlls ${path})
endforeach()
find_file(VELSOKURA_QTBASE_JA qtbase_ja.qm
          PATHS /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(out ${CMAKE_BINARY_DIR})
add_custom_target(windows_runtime ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${out}/platforms ${out}/styles ${out}/translations
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${program_dlls} ${qt_prefix}/bin/Qt6Test.dll ${out}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_prefix}/plugins/platforms/qwindows.dll
          ${qt_prefix}/plugins/platforms/qoffscreen.dll ${out}/platforms
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
          ${qt_prefix}/plugins/styles/qwindowsvistastyle.dll ${out}/styles
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VELSOKURA_QTBASE_JA} ${out}/translations
  VERBATIM)
# What the program needs beside it wherever it goes (cmake --install, and the
# downloads scripts/package-windows makes): not what only the tests use.
install(FILES ${program_dlls} DESTINATION .)
install(FILES ${qt_prefix}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
install(FILES ${VELSOKURA_QTBASE_JA} DESTINATION translations)

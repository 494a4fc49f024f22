# What `cmake --install` lays out. On Windows, what the installer holds: one
# folder with the program and, in defaults/, the defaults an installed copy
# gives each user on the first start. Elsewhere, what the .deb holds: the
# program in bin/, the defaults in share/velsokura/, the menu entry, the bell
# icons and the AppStream metadata. scripts/package builds the .deb,
# scripts/package-windows the Windows installer and zip.
set(VELSOKURA_APP_ID io.github.velsokura.velsokura)

if(WIN32)
  install(TARGETS velsokura RUNTIME DESTINATION .)
  install(FILES ${VELSOKURA_ASSETS} DESTINATION defaults)
else()
  install(TARGETS velsokura RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${VELSOKURA_ASSETS} DESTINATION ${CMAKE_INSTALL_DATADIR}/velsokura)
endif()
if(TARGET velsokura-sound)
  install(TARGETS velsokura-sound LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/velsokura)
endif()

if(UNIX AND NOT APPLE)
  # The icons are the bell the program draws for itself, rendered at build time.
  add_executable(make_icons tools/make_icons.cpp src/app/AppIcon.cpp src/app/AppIcon.h)
  target_include_directories(make_icons PRIVATE src)
  target_link_libraries(make_icons PRIVATE Qt6::Gui)
  set(icon_sizes 16 22 24 32 48 64 128 256)
  set(icon_dir ${CMAKE_BINARY_DIR}/icons/hicolor)
  set(icon_files)
  foreach(size IN LISTS icon_sizes)
    list(APPEND icon_files ${icon_dir}/${size}x${size}/apps/${VELSOKURA_APP_ID}.png)
  endforeach()
  add_custom_command(OUTPUT ${icon_files}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:make_icons> ${icon_dir} ${VELSOKURA_APP_ID} ${icon_sizes}
    DEPENDS make_icons
    VERBATIM)
  add_custom_target(icons ALL DEPENDS ${icon_files})
  foreach(size IN LISTS icon_sizes)
    install(FILES ${icon_dir}/${size}x${size}/apps/${VELSOKURA_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES assets/linux/${VELSOKURA_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES assets/linux/${VELSOKURA_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velsokura)
set(CPACK_PACKAGE_VENDOR velsokura)
set(CPACK_PACKAGE_CONTACT "velsokura maintainers <maintainers@users.noreply.c-seed-e5091cf9.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small reminder with a Japanese user interface")
set(CPACK_PACKAGE_DESCRIPTION "velsokura keeps a list of appointments and, when one comes due,
shows an alarm window on top of every other window and plays a sound. It
lives in the notification area and keeps a history of passed appointments.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Libraries come from dpkg-shlibdeps; what is only loaded at run time is named:
# Qt's Japanese translations and a font for the Japanese text. The sounds play
# on Qt's FFmpeg backend, a plugin of libqt6multimedia6 whose FFmpeg and
# PulseAudio libraries that package already depends on; the GStreamer plugins
# serve whoever chooses that backend (QT_MEDIA_BACKEND=gstreamer).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")
include(CPack)

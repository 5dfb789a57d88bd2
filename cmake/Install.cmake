# cmake --install build/release --prefix DIR lays the program out the way a
# desktop expects: the program folder (executables, modules, skin, README)
# in DIR/lib/kolvex, a link DIR/bin/kolvex, the desktop entry and the icons
# under DIR/share. The programs find their modules and skin beside their own
# executable, so the folder stays whole.
set(KOLVEX_PROGRAM_DIR lib/kolvex)

install(TARGETS kolvex kolvex-convert lame_enc Brook_R ape_ffmpeg lossless_ffmpeg kolvex_platform_core kolvex_platform kolvex_platform_gtk
  RUNTIME DESTINATION ${KOLVEX_PROGRAM_DIR}
  LIBRARY DESTINATION ${KOLVEX_PROGRAM_DIR})
install(FILES ${KOLVEX_BIN_DIR}/README.html ${KOLVEX_BIN_DIR}/kolvex.png DESTINATION ${KOLVEX_PROGRAM_DIR})
install(DIRECTORY ${KOLVEX_BIN_DIR}/docs DESTINATION ${KOLVEX_PROGRAM_DIR})
install(DIRECTORY ${KOLVEX_BIN_DIR}/Skin DESTINATION ${KOLVEX_PROGRAM_DIR} OPTIONAL)
install(CODE "
  set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
  file(MAKE_DIRECTORY \"\${bin}\")
  foreach(program kolvex kolvex-convert)
    file(CREATE_LINK ../${KOLVEX_PROGRAM_DIR}/\${program} \"\${bin}/\${program}\" SYMBOLIC)
  endforeach()
")
install(FILES ${KOLVEX_BIN_DIR}/kolvex-convert.1 DESTINATION share/man/man1 OPTIONAL)
install(FILES ${PROJECT_SOURCE_DIR}/app/kolvex.desktop DESTINATION share/applications)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${KOLVEX_BIN_DIR}/icons/kolvex-${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME kolvex.png)
endforeach()

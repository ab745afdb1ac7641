# Installed layout (relative to the prefix).  By default:
#   bin/zarvo                          launcher: per-user folder, then the game
#   lib/zarvo/zarvo                    the game itself
#   share/zarvo/data/{graphics,sound}  pictures and sounds
# With ZARVO_GAMES_LAYOUT (the Debian package), as Debian lays out games:
#   games/zarvo, lib/games/zarvo/zarvo, share/games/zarvo/data
# Both also install the desktop entry, the AppStream metainfo, the icon in
# several sizes, the manual page and the licence.  The launcher finds the game
# and its data relative to itself, so the tree can be moved.
option(ZARVO_GAMES_LAYOUT "Install under games/, lib/games/ and share/games/ as Debian does" OFF)
if(ZARVO_GAMES_LAYOUT)
  set(ZARVO_LAUNCHER_DIR games)
  set(ZARVO_GAME_DIR lib/games/zarvo)
  set(ZARVO_DATA_DIR share/games/zarvo/data)
else()
  set(ZARVO_LAUNCHER_DIR bin)
  set(ZARVO_GAME_DIR lib/zarvo)
  set(ZARVO_DATA_DIR share/zarvo/data)
endif()

file(RELATIVE_PATH ZARVO_LAUNCHER_TO_GAME /${ZARVO_LAUNCHER_DIR} /${ZARVO_GAME_DIR}/zarvo)
file(RELATIVE_PATH ZARVO_LAUNCHER_TO_DATA /${ZARVO_LAUNCHER_DIR} /${ZARVO_DATA_DIR})
configure_file(packaging/zarvo.sh.in zarvo-launcher @ONLY)

# Manual pages are installed compressed, without a time stamp in the header.
add_custom_command(OUTPUT zarvo.6.gz
  COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zarvo.6 > zarvo.6.gz
  DEPENDS packaging/zarvo.6)
add_custom_command(OUTPUT changelog.gz
  COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog > changelog.gz
  DEPENDS packaging/changelog)
add_custom_target(zarvo-docs ALL DEPENDS zarvo.6.gz changelog.gz)

install(TARGETS zarvo RUNTIME DESTINATION ${ZARVO_GAME_DIR})
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/zarvo-launcher
        DESTINATION ${ZARVO_LAUNCHER_DIR} RENAME zarvo)
install(DIRECTORY data/ DESTINATION ${ZARVO_DATA_DIR} PATTERN ".*" EXCLUDE)
install(FILES packaging/org.zarvo.Zarvo.desktop DESTINATION share/applications)
install(FILES packaging/org.zarvo.Zarvo.metainfo.xml DESTINATION share/metainfo)
foreach(size 48 64 128 256)
  install(FILES packaging/icons/zarvo-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME zarvo.png)
endforeach()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zarvo.6.gz DESTINATION share/man/man6)
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz README.md
        DESTINATION share/doc/zarvo)

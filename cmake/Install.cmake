# Installed layout (relative to the prefix).  By default:
#   bin/zarvo                          launcher: per-user folder, then the game
#   bin/zarvo-replay                   launcher: the replay tool on the data
#   lib/zarvo/zarvo, zarvo-replay      the game itself, the replay tool
#   share/zarvo/data/{graphics,sound}  pictures and sounds
# With ZARVO_GAMES_LAYOUT (the Debian package), as Debian lays out games:
#   games/zarvo, lib/games/zarvo/zarvo, share/games/zarvo/data
# Both also install the desktop entry, the AppStream metainfo, the icon in
# several sizes, the manual page and the licence.  The launcher finds the game
# and its data relative to itself, so the tree can be moved.  All of it is
# the component "game"; with ZARVO_WWW, the component "server" comes too.
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
file(RELATIVE_PATH ZARVO_LAUNCHER_TO_REPLAY /${ZARVO_LAUNCHER_DIR} /${ZARVO_GAME_DIR}/zarvo-replay)
file(RELATIVE_PATH ZARVO_LAUNCHER_TO_DATA /${ZARVO_LAUNCHER_DIR} /${ZARVO_DATA_DIR})
configure_file(packaging/zarvo.sh.in zarvo-launcher @ONLY)
configure_file(packaging/zarvo-replay.sh.in zarvo-replay-launcher @ONLY)

# Manual pages are installed compressed, without a time stamp in the header.
add_custom_command(OUTPUT zarvo.6.gz
  COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zarvo.6 > zarvo.6.gz
  DEPENDS packaging/zarvo.6)
add_custom_command(OUTPUT zarvo-replay.6.gz
  COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zarvo-replay.6 > zarvo-replay.6.gz
  DEPENDS packaging/zarvo-replay.6)
add_custom_command(OUTPUT changelog.gz
  COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog > changelog.gz
  DEPENDS packaging/changelog)
add_custom_target(zarvo-docs ALL DEPENDS zarvo.6.gz zarvo-replay.6.gz changelog.gz)

install(TARGETS zarvo zarvo-replay RUNTIME DESTINATION ${ZARVO_GAME_DIR} COMPONENT game)
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/zarvo-launcher
        DESTINATION ${ZARVO_LAUNCHER_DIR} RENAME zarvo COMPONENT game)
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/zarvo-replay-launcher
        DESTINATION ${ZARVO_LAUNCHER_DIR} RENAME zarvo-replay COMPONENT game)
install(DIRECTORY data/ DESTINATION ${ZARVO_DATA_DIR} COMPONENT game PATTERN ".*" EXCLUDE)
install(FILES packaging/org.zarvo.Zarvo.desktop DESTINATION share/applications COMPONENT game)
install(FILES packaging/org.zarvo.Zarvo.metainfo.xml DESTINATION share/metainfo COMPONENT game)
foreach(size 48 64 128 256)
  install(FILES packaging/icons/zarvo-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME zarvo.png COMPONENT game)
endforeach()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zarvo.6.gz ${CMAKE_CURRENT_BINARY_DIR}/zarvo-replay.6.gz
        DESTINATION share/man/man6 COMPONENT game)
install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz README.md
        DESTINATION share/doc/zarvo COMPONENT game)

# With ZARVO_WWW, a built browser's game (build-web/), the world table's
# server as its package runs it: sbin/zarvo-server, its systemd unit and
# manual page, and the browser's game it serves in share/zarvo-server/www.
# It plays climbs with the game's installed data.
set(ZARVO_WWW "" CACHE PATH "The browser's build that the world table's server serves")
if(ZARVO_WWW)
  include(cmake/WebSite.cmake)
  set(ZARVO_SERVER_EXEC ${CMAKE_INSTALL_PREFIX}/sbin/zarvo-server)
  set(ZARVO_SERVER_WWW ${CMAKE_INSTALL_PREFIX}/share/zarvo-server/www)
  set(ZARVO_SERVER_DATA ${CMAKE_INSTALL_PREFIX}/${ZARVO_DATA_DIR})
  configure_file(packaging/zarvo-server/zarvo-server.service.in zarvo-server.service @ONLY)
  add_custom_command(OUTPUT zarvo-server.8.gz
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zarvo-server/zarvo-server.8 > zarvo-server.8.gz
    DEPENDS packaging/zarvo-server/zarvo-server.8)
  add_custom_target(zarvo-server-docs ALL DEPENDS zarvo-server.8.gz)
  list(TRANSFORM ZARVO_SITE_FILES PREPEND ${ZARVO_WWW}/ OUTPUT_VARIABLE site)
  install(TARGETS zarvo-server RUNTIME DESTINATION sbin COMPONENT server)
  install(FILES ${site} ${ZARVO_WWW}/sw.js DESTINATION share/zarvo-server/www COMPONENT server)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zarvo-server.service DESTINATION lib/systemd/system COMPONENT server)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/zarvo-server.8.gz DESTINATION share/man/man8 COMPONENT server)
  install(FILES packaging/copyright ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
          DESTINATION share/doc/zarvo-server COMPONENT server)
endif()

# Installed layout (relative to the prefix):
#   bin/zarvo                          launcher: per-user folder, then the game
#   lib/zarvo/zarvo                    the game itself
#   share/zarvo/data/{graphics,sound}  pictures and sounds
#   share/applications/zarvo.desktop   menu entry
#   share/icons/hicolor/64x64/apps/zarvo.png
#   share/doc/zarvo/README.md
# The launcher finds the rest from its own location, so the tree can be moved
# or installed under any prefix.
install(TARGETS zarvo RUNTIME DESTINATION lib/zarvo)
install(PROGRAMS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zarvo.sh
        DESTINATION bin RENAME zarvo)
install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/data/
        DESTINATION share/zarvo/data
        PATTERN ".*" EXCLUDE)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zarvo.desktop
        DESTINATION share/applications)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zarvo.png
        DESTINATION share/icons/hicolor/64x64/apps)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/README.md
        DESTINATION share/doc/zarvo OPTIONAL)

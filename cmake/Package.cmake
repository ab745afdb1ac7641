# The Debian packages: `cpack -G DEB` in a build configured with
# ZARVO_GAMES_LAYOUT=ON and CMAKE_INSTALL_PREFIX=/usr (scripts/package does
# both, with Debian's hardening flags) gives zarvo, the game, and with
# ZARVO_WWW also zarvo-server, the world table's server.  Library dependencies
# are worked out from the binaries by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME zarvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Zarvo developers <dev@zarvo.org>")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zarvo.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_GAME_PACKAGE_NAME zarvo)
set(CPACK_DEBIAN_GAME_PACKAGE_SECTION games)
set(CPACK_DEBIAN_GAME_DESCRIPTION
"bounce from brick to brick up a witch's tower
Zarvo is a small single-player arcade game. You steer a little figure with
the mouse; it bounces from brick to brick up a tower while the world scrolls
down beneath it, and every brick you land on breaks and scores. At the top of
each of the fifteen levels the witch flies across the night sky. A table keeps
the ten best scores.")

if(ZARVO_WWW)
  list(APPEND CPACK_COMPONENTS_ALL server)
  set(CPACK_DEBIAN_SERVER_PACKAGE_NAME zarvo-server)
  set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION games)
  # It plays climbs with the game's data; its maintainer scripts make its
  # user and hand its unit to systemd.
  set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "zarvo (= ${PROJECT_VERSION}), adduser")
  set(CPACK_DEBIAN_SERVER_PACKAGE_CONTROL_EXTRA
      ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zarvo-server/postinst
      ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zarvo-server/prerm
      ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zarvo-server/postrm)
  set(CPACK_DEBIAN_SERVER_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
  set(CPACK_DEBIAN_SERVER_DESCRIPTION
"world table of Zarvo climbs, checked by replaying them
zarvo-server keeps the world's table of Zarvo climbs and serves the browser's
game beside it. A climb is filed only when the server has played its replay
again with the game's own code to the very score it claims. It keeps its table
in SQLite, or in PostgreSQL shared by several servers, and runs as a systemd
service of its own.")
endif()
include(CPack)

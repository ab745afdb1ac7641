# The Debian package: `cpack -G DEB` in a build configured with
# ZARVO_GAMES_LAYOUT=ON and CMAKE_INSTALL_PREFIX=/usr (scripts/package does
# both, with Debian's hardening flags).  Library dependencies are worked out
# from the game's binary by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME zarvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Zarvo developers <dev@zarvo.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "bounce from brick to brick up a witch's tower")
set(CPACK_PACKAGE_DESCRIPTION
"Zarvo is a small single-player arcade game. You steer a little figure with
the mouse; it bounces from brick to brick up a tower while the world scrolls
down beneath it, and every brick you land on breaks and scores. At the top of
each of the fifteen levels the witch flies across the night sky. A table keeps
the ten best scores.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zarvo.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)

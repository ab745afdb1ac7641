# Writes the browser game's service worker (sw.js) into SITE, its cache named
# after a hash of every file the page loads: each new build gets a cache of
# its own. Run by cmake -P after the game and its data are built.
include(${CMAKE_CURRENT_LIST_DIR}/WebSite.cmake)
set(hashes "")
foreach(name ${ZARVO_SITE_FILES})
  file(SHA256 ${SITE}/${name} hash)
  string(APPEND hashes ${hash})
endforeach()
string(SHA256 id "${hashes}")
string(SUBSTRING ${id} 0 16 ZARVO_BUILD_ID)
list(JOIN ZARVO_SITE_FILES "', '" joined)
set(ZARVO_SITE_FILES "'${joined}'")
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)

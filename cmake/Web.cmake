# The browser's game (emcmake cmake): build-web/ holds the game's own page,
# zarvo.js, zarvo.wasm and zarvo.data, the pictures and sounds preloaded into
# the game's file system; static files that any web host serves. The same
# library also gives zarvo-autoplay.js, which node runs on the real files.
set(ZARVO_WEB ${CMAKE_CURRENT_SOURCE_DIR}/src/target)
# The game throws a pointer to an exception when a picture or sound is missing.
target_compile_options(zarvo_core PUBLIC -fexceptions)
# The game draws in OpenGL's immediate mode, which emscripten emulates on WebGL.
target_link_options(zarvo_core INTERFACE -fexceptions -sALLOW_MEMORY_GROWTH=1 -sLEGACY_GL_EMULATION=1
  "SHELL:--js-library ${ZARVO_WEB}/library.js")
set_property(TARGET zarvo_core APPEND PROPERTY INTERFACE_LINK_DEPENDS ${ZARVO_WEB}/library.js)

add_executable(zarvo ${ZARVO_WEB}/WebMain.cpp)
target_link_libraries(zarvo PRIVATE zarvo_core)
# The pictures and sounds come as a package of their own (zarvo.data, loaded by
# zarvo-data.js before the game), made from any folder by emscripten's
# file packager: a new build of the code leaves them as they were.
# WebGL's extensions stay off: the game uses none, and turning on every one
# the browser offers took 300 to 500 ms of its start where WebGL runs in
# software.
target_link_options(zarvo PRIVATE -lidbfs.js -sFORCE_FILESYSTEM=1 -sGL_SUPPORT_AUTOMATIC_ENABLE_EXTENSIONS=0
  "SHELL:--pre-js ${ZARVO_WEB}/pre.js"
  "-sEXPORTED_RUNTIME_METHODS=['addRunDependency','removeRunDependency','FS_createPath','FS_createDataFile','FS_createPreloadedFile']")
set_target_properties(zarvo PROPERTIES LINK_DEPENDS "${ZARVO_WEB}/pre.js")

set(ZARVO_PACKAGER ${EMSCRIPTEN_ROOT_PATH}/tools/file_packager.py)
file(GLOB_RECURSE ZARVO_DATA_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/data/*)
add_custom_command(OUTPUT zarvo.data zarvo-data.js
  COMMAND python3 ${ZARVO_PACKAGER} zarvo.data --preload ${CMAKE_CURRENT_SOURCE_DIR}/data@/data
    --use-preload-plugins --no-node --js-output=zarvo-data.js
  DEPENDS ${ZARVO_DATA_FILES} VERBATIM)
add_custom_target(zarvo-data ALL DEPENDS zarvo.data zarvo-data.js)

# The Ogg Vorbis decoder the page ships (src/target/package.json, pinned by
# its lockfile): npm installs it into the build folder, and its one
# self-contained script is served beside the game.
set(ZARVO_DECODER node_modules/@wasm-audio-decoders/ogg-vorbis/dist/ogg-vorbis-decoder.min.js)
add_custom_command(OUTPUT ogg-vorbis-decoder.min.js
  COMMAND ${CMAKE_COMMAND} -E make_directory npm
  COMMAND ${CMAKE_COMMAND} -E copy ${ZARVO_WEB}/package.json ${ZARVO_WEB}/package-lock.json npm/
  COMMAND npm ci --prefix npm --no-audit --no-fund --ignore-scripts --silent
  COMMAND ${CMAKE_COMMAND} -E copy npm/${ZARVO_DECODER} ogg-vorbis-decoder.min.js
  DEPENDS ${ZARVO_WEB}/package.json ${ZARVO_WEB}/package-lock.json VERBATIM)
add_custom_target(zarvo-decoder ALL DEPENDS ogg-vorbis-decoder.min.js)

# The page, its icons and its web app manifest beside the game, and the
# service worker that keeps them all for playing offline.
configure_file(${ZARVO_WEB}/index.html ${CMAKE_BINARY_DIR}/index.html COPYONLY)
configure_file(${ZARVO_WEB}/manifest.webmanifest ${CMAKE_BINARY_DIR}/manifest.webmanifest COPYONLY)
foreach(size 128 192 512)
  set(name icon-${size}.png)
  if(size EQUAL 128)
    set(name icon.png)
  endif()
  configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/icons/zarvo-${size}.png ${CMAKE_BINARY_DIR}/${name} COPYONLY)
endforeach()
add_custom_target(zarvo-offline ALL
  COMMAND ${CMAKE_COMMAND} -DSITE=${CMAKE_BINARY_DIR} -DTEMPLATE=${ZARVO_WEB}/sw.js.in
    -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/WebBuildId.cmake)
add_dependencies(zarvo-offline zarvo zarvo-data zarvo-decoder)

# The tools run under node on the real files.
add_executable(zarvo-autoplay tools/autoplay/main.cpp)
target_link_libraries(zarvo-autoplay PRIVATE zarvo_pilot)
add_executable(zarvo-replay tools/replay/main.cpp tools/replay/WebClimbSender.cpp)
target_link_libraries(zarvo-replay PRIVATE zarvo_core)
foreach(tool zarvo-autoplay zarvo-replay)
  target_link_options(${tool} PRIVATE -sNODERAWFS=1 -sENVIRONMENT=node -sEXIT_RUNTIME=1
    -sWASM_ASYNC_COMPILATION=0)
endforeach()

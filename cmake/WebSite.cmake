# The files of the browser's game that a web host serves and the page loads
# (the service worker, sw.js, comes on top): the offline cache lists them,
# and the world table's server package installs them.
set(ZARVO_SITE_FILES index.html icon.png icon-192.png icon-512.png manifest.webmanifest
  ogg-vorbis-decoder.min.js zarvo-data.js zarvo.js zarvo.wasm zarvo.data)

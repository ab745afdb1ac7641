// Set-up the page's game gets before it starts: pictures decoded as they
// arrive, the saved table read from the browser's storage, and the page's
// visibility told to the game.
Module['noAudioDecoding'] = true;  // sounds are decoded by the game's own mixer (library.js)
Module['noImageDecoding'] = true;
Module['zarvoPictures'] = {};
// Pictures are decoded by the browser, their pixels kept exactly as stored
// (no premultiplied alpha, no colour conversion), for upload as textures.
Module['preloadPlugins'] = [{
  'canHandle': function(name) { return /\.(png|jpe?g)$/i.test(name); },
  'handle': function(bytes, name, onload, onerror) {
    var options = {premultiplyAlpha: 'none', colorSpaceConversion: 'none'};
    createImageBitmap(new Blob([bytes]), options).then(function(bitmap) {
      Module['zarvoPictures'][name] = bitmap;
      onload(bytes);
    }, function() {
      onload(bytes);  // the game reports the picture when it asks for it
    });
  }
}];

// score.txt lives in a folder kept in IndexedDB. Its reads and writes go one
// at a time (this tab saving while it reads another tab's table would mix
// the two), each with a deadline: storage that is missing, refused (a private
// window) or silent leaves the table kept for this visit only, and the page
// says so, but never stops the game from starting.
var zarvoStorage = {
  queue: Promise.resolve(),
  sync: function(read, done) {
    zarvoStorage.queue = zarvoStorage.queue.then(function() {
      return new Promise(function(next) {
        var answered = false;
        var answer = function(error) {
          if (answered) return;
          answered = true;
          clearTimeout(deadline);
          if (Module['zarvoStorageWorks']) Module['zarvoStorageWorks'](!error);
          if (error) err('Zarvo: the saved scores could not be ' + (read ? 'read: ' : 'saved: ') + error);
          if (done) done(error);
          next();
        };
        var deadline = setTimeout(function() { answer('no answer from the storage'); }, 10000);
        try {
          FS.syncfs(read, answer);
        } catch (e) {
          answer(e);
        }
      });
    });
  },
};
Module['preRun'] = (Module['preRun'] || []).concat(function() {
  FS.mkdir('/saved');
  FS.mount(IDBFS, {}, '/saved');
  addRunDependency('saved scores');
  zarvoStorage.sync(true, function() { removeRunDependency('saved scores'); });
});

// Another tab of the game filed a score: read the table again, so that this
// tab's next name is filed into the table as it now stands.
var zarvoTabs = typeof BroadcastChannel === 'function' ? new BroadcastChannel('zarvo-scores') : null;
if (zarvoTabs) zarvoTabs.onmessage = function() { zarvoStorage.sync(true); };
// The climb of the name just filed: the newest replay of the saved folder.
Module['zarvoNewestClimb'] = function() {
  var folder = '/saved/replays', newest = null;
  try {
    FS.readdir(folder).forEach(function(name) {
      if (!/\.zrp$/.test(name)) return;
      var when = FS.stat(folder + '/' + name).mtime;
      if (!newest || when >= newest.when) newest = {name: name, when: when};
    });
  } catch (e) {
    return null;  // no folder: no climb kept
  }
  return newest && {name: newest.name, bytes: FS.readFile(folder + '/' + newest.name)};
};
Module['zarvoKeepScores'] = function() {
  if (Module['zarvoClimbFiled']) Module['zarvoClimbFiled']();
  zarvoStorage.sync(false, function(error) {
    if (!error && zarvoTabs) zarvoTabs.postMessage('saved');
    Module['zarvoScoresKept'] = (Module['zarvoScoresKept'] || 0) + 1;
  });
};

// A hidden tab or a window that lost the focus pauses a climb, as leaving the
// desktop game's window does.
Module['postRun'] = (Module['postRun'] || []).concat(function() {
  var left = function() { if (Module['_zarvo_player_left']) Module['_zarvo_player_left'](); };
  document.addEventListener('visibilitychange', function() { if (document.hidden) left(); });
  window.addEventListener('blur', left);
});

// #watch=NAME in the page's address shows a replay of the saved folder
// (replays/NAME, as the table's entries are kept), #watch=ADDRESS one fetched
// from this site. The game gets it as one file.
Module['zarvoWatchFromAddress'] = function() {
  var asked = /^#watch=(.+)$/.exec(location.hash);
  if (!asked) return;
  var name = decodeURIComponent(asked[1]);
  var refuse = function(why) { err('Zarvo: the replay ' + name + ' cannot be watched: ' + why); };
  var give = function(bytes) {
    if (bytes.length > 1 << 20) return refuse('it is larger than a replay may be');
    FS.writeFile('/tmp/watched.zrp', bytes);
    Module['_zarvo_watch']();
  };
  if (/^[A-Za-z0-9_-]+(\.zrp)?$/.test(name)) {
    try {
      give(FS.readFile('/saved/replays/' + name.replace(/(\.zrp)?$/, '.zrp')));
    } catch (e) {
      refuse('there is no such replay in the saved folder');
    }
    return;
  }
  var address = new URL(name, location.href);
  if (address.origin !== location.origin) return refuse('only replays of this site are watched');
  fetch(address).then(function(response) {
    if (!response.ok) throw 'the server answered ' + response.status;
    return response.arrayBuffer();
  }).then(function(buffer) { give(new Uint8Array(buffer)); }, refuse);
};
window.addEventListener('hashchange', function() { Module['zarvoWatchFromAddress'](); });

// When the game's first frame was drawn, in ms from the page's start (bench/run
// reads it); then the page fetches what the menu could do without.
Module['postMainLoop'] = function() {
  if (Module['zarvoFirstFrame']) return;
  Module['zarvoFirstFrame'] = performance.now();
  Module['zarvoFirstFrameDrawn']();
  Module['zarvoWatchFromAddress']();
};

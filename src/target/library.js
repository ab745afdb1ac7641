// The browser's side of the game's platform part: the SDL_mixer calls the
// game makes, played through Web Audio; the pointer; pictures the page decoded
// while it loaded; and the saved table. Linked with --js-library, so these
// take the place of emscripten's own versions of the same SDL calls.
mergeInto(LibraryManager.library, {
  // ------------------------------------------------------------ sound
  // Browsers start sound only from a player's click, tap or key: the context
  // is made on the first gesture and resumed on every later one until it
  // runs (a touch's first gesture may not count, and a phone may suspend it
  // behind the player's back); a hidden tab suspends it. The music asked for
  // last starts once its piece is decoded and sound runs.
  // The Ogg Vorbis pieces are decoded by the decoder the page ships
  // (ogg-vorbis-decoder.min.js, Module.zarvoDecoder), not by the browser, which may have no Ogg
  // decoder at all (Safari) or pad the end of a piece, so that a looped piece
  // loops on its exact sample count. WAV sounds are decoded by the browser.
  $ZarvoMixer: {
    context: null,
    sounds: [null],      // id -> {bytes, pcm, buffer, volume}; 0 is no sound
    music: null,         // {id, loops, source, gain} of the piece playing or waiting
    musicVolume: 128,
    channels: [],        // channel -> {source, gain}
    listening: false,

    listen: function() {
      if (ZarvoMixer.listening || typeof document === 'undefined') return;
      ZarvoMixer.listening = true;
      ['pointerup', 'touchend', 'click', 'keydown'].forEach(function(type) {
        document.addEventListener(type, ZarvoMixer.wake, true);
      });
      document.addEventListener('visibilitychange', function() {
        var context = ZarvoMixer.context;
        if (!context) return;
        if (document.hidden) context.suspend().catch(function() {});
        else ZarvoMixer.wake();
      });
    },
    wake: function() {
      var Context = window.AudioContext || window.webkitAudioContext;
      if (!Context || document.hidden) return;
      if (!ZarvoMixer.context) {
        ZarvoMixer.context = new Context();
        ZarvoMixer.sounds.forEach(function(sound) { if (sound) ZarvoMixer.decode(sound); });
      }
      if (ZarvoMixer.context.state !== 'running') ZarvoMixer.context.resume().catch(function() {});
    },
    // Ogg pieces are decoded to samples as soon as they are loaded (in a
    // worker, off the frame loop); a sound becomes a buffer once the context
    // exists.
    decode: function(sound) {
      var context = ZarvoMixer.context;
      // Without the page (the autoplay program under node) nothing plays.
      if (typeof window === 'undefined' || sound.buffer || sound.decoding) return;
      var ogg = sound.bytes[0] === 0x4f && sound.bytes[1] === 0x67 && sound.bytes[2] === 0x67 && sound.bytes[3] === 0x53;
      if (ogg && !sound.pcm) {
        sound.decoding = true;
        ZarvoMixer.decodeOgg(sound.bytes).then(function(pcm) {
          sound.decoding = false;
          sound.pcm = pcm;
          if (ZarvoMixer.context) ZarvoMixer.decode(sound);
        }, function(error) {
          err('Zarvo: a piece of music could not be decoded: ' + error);
        });
        return;
      }
      if (!context) return;
      if (sound.pcm) {
        var pcm = sound.pcm, buffer = context.createBuffer(pcm.channelData.length, pcm.samplesDecoded, pcm.sampleRate);
        pcm.channelData.forEach(function(samples, channel) {
          buffer.getChannelData(channel).set(samples.subarray(0, pcm.samplesDecoded));
        });
        sound.pcm = null;
        ZarvoMixer.decoded(sound, buffer);
        return;
      }
      sound.decoding = true;
      context.decodeAudioData(sound.bytes.slice().buffer).then(function(buffer) {
        sound.decoding = false;
        ZarvoMixer.decoded(sound, buffer);
      }, function() { err('Zarvo: a sound could not be decoded'); });
    },
    decodeOgg: function(bytes) {
      var decoder;
      return Module['zarvoDecoder'].then(function(library) {
        decoder = new library.OggVorbisDecoderWebWorker();
        return decoder.ready;
      }).then(function() {
        return decoder.decodeFile(bytes);
      }).then(function(pcm) {
        decoder.free();
        if (!pcm.samplesDecoded || !pcm.channelData.length) throw 'no samples';
        return pcm;
      }, function(error) {
        if (decoder) decoder.free();
        throw error;
      });
    },
    decoded: function(sound, buffer) {
      sound.buffer = buffer;
      var music = ZarvoMixer.music;
      if (music && !music.source && ZarvoMixer.sounds[music.id] === sound) ZarvoMixer.startMusic(0);
    },
    load: function(path) {
      try {
        var bytes = FS.readFile(PATH_FS.resolve(path));
      } catch (e) {
        return 0;
      }
      var sound = {bytes: bytes, pcm: null, buffer: null, volume: 128};
      ZarvoMixer.sounds.push(sound);
      ZarvoMixer.decode(sound);
      return ZarvoMixer.sounds.length - 1;
    },
    // Starts the waiting piece once its sound is decoded and sound is allowed.
    startMusic: function(fadeMs) {
      var music = ZarvoMixer.music, context = ZarvoMixer.context;
      var sound = music && ZarvoMixer.sounds[music.id];
      if (!context || !sound || !sound.buffer || music.source) return;
      music.gain = context.createGain();
      music.gain.connect(context.destination);
      music.source = context.createBufferSource();
      music.source.buffer = sound.buffer;
      music.source.loop = music.loops !== 0;
      music.source.connect(music.gain);
      var level = ZarvoMixer.musicVolume / 128, now = context.currentTime;
      music.gain.gain.setValueAtTime(fadeMs > 0 ? 0 : level, now);
      if (fadeMs > 0) music.gain.gain.linearRampToValueAtTime(level, now + fadeMs / 1000);
      music.source.start();
    },
    stopMusic: function() {
      var music = ZarvoMixer.music;
      ZarvoMixer.music = null;
      if (music && music.source) music.source.stop();
    },
  },

  Mix_OpenAudio__deps: ['$ZarvoMixer'],
  Mix_OpenAudio: function(frequency, format, channels, chunkSize) {
    ZarvoMixer.listen();
    return 0;
  },
  // The browser always has a mixer: sounds are loaded and checked with or
  // without a device, and play once the browser lets them.
  Mix_QuerySpec: function(frequency, format, channels) {
    if (frequency) HEAP32[frequency >> 2] = 22050;
    if (format) HEAP16[format >> 1] = 0x8010;
    if (channels) HEAP32[channels >> 2] = 2;
    return 1;
  },
  Mix_CloseAudio__deps: ['$ZarvoMixer'],
  Mix_CloseAudio: function() {
    if (ZarvoMixer.context) ZarvoMixer.context.close();
    ZarvoMixer.context = null;
  },
  Mix_LoadMUS__deps: ['$ZarvoMixer'],
  Mix_LoadMUS: function(path) { return ZarvoMixer.load(UTF8ToString(path)); },
  Mix_FreeMusic__deps: ['$ZarvoMixer'],
  Mix_FreeMusic: function(id) {
    if (ZarvoMixer.music && ZarvoMixer.music.id === id) ZarvoMixer.stopMusic();
    ZarvoMixer.sounds[id] = null;
  },
  Mix_FadeInMusic__deps: ['$ZarvoMixer'],
  Mix_FadeInMusic: function(id, loops, ms) {
    ZarvoMixer.stopMusic();
    ZarvoMixer.music = {id: id, loops: loops, source: null, gain: null};
    ZarvoMixer.startMusic(ms);
    return 0;
  },
  Mix_PlayMusic__deps: ['Mix_FadeInMusic'],
  Mix_PlayMusic: function(id, loops) { return _Mix_FadeInMusic(id, loops, 0); },
  Mix_FadeOutMusic__deps: ['$ZarvoMixer'],
  Mix_FadeOutMusic: function(ms) {
    var music = ZarvoMixer.music;
    if (!music) return 0;
    if (!music.source) {
      ZarvoMixer.music = null;
      return 1;
    }
    var now = ZarvoMixer.context.currentTime, gain = music.gain.gain;
    gain.cancelScheduledValues(now);
    gain.setValueAtTime(gain.value, now);
    gain.linearRampToValueAtTime(0, now + ms / 1000);
    music.source.stop(now + ms / 1000);
    ZarvoMixer.music = null;
    return 1;
  },
  Mix_HaltMusic__deps: ['$ZarvoMixer'],
  Mix_HaltMusic: function() {
    ZarvoMixer.stopMusic();
    return 0;
  },
  Mix_VolumeMusic__deps: ['$ZarvoMixer'],
  Mix_VolumeMusic: function(volume) {
    var before = ZarvoMixer.musicVolume;
    if (volume < 0) return before;
    ZarvoMixer.musicVolume = Math.min(volume, 128);
    var music = ZarvoMixer.music;
    if (music && music.gain) music.gain.gain.setValueAtTime(ZarvoMixer.musicVolume / 128, ZarvoMixer.context.currentTime);
    return before;
  },
  Mix_LoadWAV_RW__deps: ['$ZarvoMixer', '$SDL'],
  Mix_LoadWAV_RW: function(rwops, freeSource) {
    var source = SDL.rwops[rwops];
    return source && source.filename !== undefined ? ZarvoMixer.load(source.filename) : 0;
  },
  Mix_FreeChunk__deps: ['$ZarvoMixer'],
  Mix_FreeChunk: function(id) { ZarvoMixer.sounds[id] = null; },
  Mix_VolumeChunk__deps: ['$ZarvoMixer'],
  Mix_VolumeChunk: function(id, volume) {
    var sound = ZarvoMixer.sounds[id];
    if (!sound) return 0;
    var before = sound.volume;
    if (volume >= 0) sound.volume = Math.min(volume, 128);
    return before;
  },
  Mix_HaltChannel__deps: ['$ZarvoMixer'],
  Mix_HaltChannel: function(channel) {
    ZarvoMixer.channels.forEach(function(playing, index) {
      if (playing && (channel < 0 || channel === index)) playing.source.stop();
      if (channel < 0 || channel === index) ZarvoMixer.channels[index] = null;
    });
    return 0;
  },
  Mix_PlayChannelTimed__deps: ['$ZarvoMixer', 'Mix_HaltChannel'],
  Mix_PlayChannelTimed: function(channel, id, loops, ticks) {
    var sound = ZarvoMixer.sounds[id], context = ZarvoMixer.context, channels = ZarvoMixer.channels;
    if (!context || !sound || !sound.buffer) return -1;
    if (channel < 0) {  // the first free channel
      channel = 0;
      while (channels[channel]) channel++;
    }
    _Mix_HaltChannel(channel);
    var gain = context.createGain();
    gain.gain.value = sound.volume / 128;
    gain.connect(context.destination);
    var source = context.createBufferSource();
    source.buffer = sound.buffer;
    source.loop = loops !== 0;
    source.connect(gain);
    source.onended = function() {
      if (channels[channel] && channels[channel].source === source) channels[channel] = null;
    };
    source.start();
    channels[channel] = {source: source, gain: gain};
    return channel;
  },
  // ------------------------------------------------------------ pointer
  // The game draws its own pointer; its transparent cursor hides the system's.
  SDL_CreateCursor: function(data, mask, w, h, hotX, hotY) { return 1; },
  SDL_SetCursor: function(cursor) {
    if (Module['canvas']) Module['canvas'].style.cursor = 'none';
  },
  SDL_FreeCursor: function(cursor) {},

  // ------------------------------------------------------------ pictures
  // Uploads a picture the page decoded while loading (pre.js) to the bound
  // texture, its pixels exactly as in the file. On a touch screen a picture's
  // touch version stands in for it: data/graphics/gameinfo_touch.png, the
  // information box that speaks of a finger and taps.
  // The texture cache uploads each picture once and keeps it for the whole
  // run, so the decoded picture (and its other version) is let go at once.
  zarvo_picture_upload: function(path, width, height) {
    var name = PATH_FS.resolve(UTF8ToString(path)), pictures = Module['zarvoPictures'];
    var touchName = name.replace(/\.png$/, '_touch.png');
    var touch = typeof matchMedia === 'function' && matchMedia('(pointer: coarse)').matches;
    var picture = touch && pictures[touchName] || pictures[name];
    if (!picture) return 0;
    GLctx.pixelStorei(GLctx.UNPACK_PREMULTIPLY_ALPHA_WEBGL, false);
    GLctx.pixelStorei(GLctx.UNPACK_COLORSPACE_CONVERSION_WEBGL, GLctx.NONE);
    GLctx.texImage2D(GLctx.TEXTURE_2D, 0, GLctx.RGBA, GLctx.RGBA, GLctx.UNSIGNED_BYTE, picture);
    HEAP32[width >> 2] = picture.width;
    HEAP32[height >> 2] = picture.height;
    [name, touchName].forEach(function(kept) {
      if (pictures[kept]) pictures[kept].close();
      delete pictures[kept];
    });
    return 1;
  },

  // ------------------------------------------------------------ scores
  // Without the page (the autoplay program under node) these do nothing.
  zarvo_scores_saved: function() {
    if (Module['zarvoKeepScores']) Module['zarvoKeepScores']();
  },

  // ------------------------------------------------------------ the page (index.html)
  // The screen now shown, by name (the application's state numbers 0, 1, 2).
  zarvo_state_shown: function(state) {
    if (Module['zarvoStateShown']) Module['zarvoStateShown'](['menu', 'intro', 'game', 'watch'][state]);
  },
  zarvo_name_entry: function(open) {
    if (Module['zarvoNameEntry']) Module['zarvoNameEntry'](!!open);
  },
});

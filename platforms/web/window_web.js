// The browser side of the web platform layer (window_web.cpp and
// state_area_web.cpp): the WebGL context on the page's canvas, the page's
// visibility, fullscreen, and storing the state file. Linked with --js-library.
mergeInto(LibraryManager.library, {
  $WLWeb: {
    fullscreen: false,      // the host asked for fullscreen
    fullscreenLost: false,  // the page left or refused it since the host last looked
    listening: false,       // the fullscreenchange listener is in place
  },

  // Fullscreen is the page's Fullscreen API on the canvas, which the browser
  // scales to the screen keeping its shape. A browser grants it only soon
  // after a key or click, and a player may leave it with Escape: both end up
  // as fullscreenLost, for the host to follow (window_web.cpp).
  wlweb_set_fullscreen__deps: ['$WLWeb'],
  wlweb_set_fullscreen: function(on) {
    var canvas = Module['canvas'];
    if (!WLWeb.listening) {
      WLWeb.listening = true;
      document.addEventListener('fullscreenchange', function() {
        if (!document.fullscreenElement && WLWeb.fullscreen) WLWeb.fullscreenLost = true;
      });
    }
    WLWeb.fullscreen = !!on;
    if (!on) {
      if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
      return;
    }
    if (document.fullscreenElement === canvas) return;
    if (!canvas || !canvas.requestFullscreen) {
      WLWeb.fullscreenLost = true;
      return;
    }
    canvas.requestFullscreen().catch(function() {
      if (WLWeb.fullscreen && document.fullscreenElement !== canvas) WLWeb.fullscreenLost = true;
    });
  },

  // 1 once after the page has left or refused fullscreen that the host asked for.
  wlweb_take_fullscreen_lost__deps: ['$WLWeb'],
  wlweb_take_fullscreen_lost: function() {
    var lost = WLWeb.fullscreenLost;
    WLWeb.fullscreenLost = false;
    return lost ? 1 : 0;
  },

  // A hidden page (another tab, a minimised window) reads as an iconified
  // window.
  wlweb_page_hidden: function() { return document.visibilityState === 'hidden' ? 1 : 0; },

  // A WebGL 1 context for the legacy GL emulation. The drawing buffer is kept
  // between frames, as a desktop back buffer is: the game may clear by
  // drawing with an alpha below 1.
  wlweb_create_context__deps: ['$Browser'],
  wlweb_create_context: function(width, height) {
    var canvas = Module['canvas'];
    if (!canvas) return 0;
    canvas.width = width;
    canvas.height = height;
    var ctx = Browser.createContext(canvas, true, true, {
      alpha: false, depth: false, stencil: false, antialias: false,
      premultipliedAlpha: false, preserveDrawingBuffer: true, majorVersion: 1,
    });
    return ctx ? 1 : 0;
  },

  wlweb_canvas_width: function() { return Module['canvas'] ? Module['canvas'].width : 0; },
  wlweb_canvas_height: function() { return Module['canvas'] ? Module['canvas'].height : 0; },

  // A point of the page in canvas pixels. The picture keeps its shape in the
  // element, centred: a fullscreen canvas is letterboxed.
  wlweb_canvas_point: function(clientX, clientY, x, y) {
    var canvas = Module['canvas'];
    var rect = canvas.getBoundingClientRect();
    var scale = Math.min(rect.width / canvas.width, rect.height / canvas.height);
    if (!(scale > 0)) scale = 1;
    var left = rect.left + (rect.width - canvas.width * scale) / 2;
    var top = rect.top + (rect.height - canvas.height * scale) / 2;
    HEAP32[x >> 2] = Math.floor((clientX - left) / scale);
    HEAP32[y >> 2] = Math.floor((clientY - top) / scale);
  },

  wlweb_screen_width: function() { return screen.width | 0; },
  wlweb_screen_height: function() { return screen.height | 0; },

  // fsync: files here live in memory, and the state area is stored in the
  // browser by state_area_saved() after each save. Emscripten's own fsync
  // would store the whole area again for every file synced.
  fd_sync__sig: 'ii',
  fd_sync: function(fd) { return 0; },

  // Stores one file of the state area in the area's IndexedDB database, in
  // IDBFS's own layout, so the next visit's IDBFS finds it. The write is
  // queued before this returns: a page closing right after a save has done
  // all it can to keep it.
  wlweb_store_state_file__deps: ['$FS', '$IDBFS'],
  wlweb_store_state_file: function(pathPtr) {
    var path = UTF8ToString(pathPtr);
    var fail = function(error) { err('The state was not stored in the browser: ' + error); };
    var mount;
    try {
      mount = FS.lookupPath(path).node.mount;
    } catch (e) {
      return fail(e);
    }
    IDBFS.getDB(mount.mountpoint, function(error, db) {
      if (error) return fail(error);
      IDBFS.loadLocalEntry(path, function(error, entry) {
        if (error) return fail(error);
        var transaction;
        try {
          transaction = db.transaction([IDBFS.DB_STORE_NAME], 'readwrite', { durability: 'strict' });
        } catch (e) {
          return fail(e);
        }
        transaction.onerror = function(e) { fail(transaction.error); e.preventDefault(); };
        IDBFS.storeRemoteEntry(transaction.objectStore(IDBFS.DB_STORE_NAME), path, entry, function() {});
      });
    });
  },
});

// Runs before the program: the state area (/state) is an IndexedDB-backed
// folder, filled from the browser's store before main, and so before the
// game's create hook reads the state file.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  FS.mkdir('/state');
  FS.mount(IDBFS, {}, '/state');
  addRunDependency('state-area');
  FS.syncfs(true, function (error) {
    // Without IndexedDB (a private window, say) the game runs on unsaved.
    if (error) err('The saved state could not be read from the browser: ' + error);
    removeRunDependency('state-area');
  });
});

// The game decodes its own images and sounds from the data files.
Module['noImageDecoding'] = true;
Module['noAudioDecoding'] = true;

// The GL emulation announces itself on every start; that says nothing to a
// player or a tester, so only other messages reach the console.
Module['printErr'] = function (text) {
  if (/^WARNING: using emscripten GL (emulation|immediate mode)/.test(text)) return;
  console.warn(text);
};

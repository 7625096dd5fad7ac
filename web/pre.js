// Before the game starts: its state folder is IndexedDB's, read back from the last visit.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  var folder = "/save";
  ENV.ZORVANE_STATE_DIR = folder;
  FS.mkdir(folder);
  FS.mount(IDBFS, {}, folder);
  addRunDependency("saves");
  FS.syncfs(true, function (error) {
    if (error) err("zorvane: the browser's saves could not be read: " + error);
    removeRunDependency("saves");
  });
});

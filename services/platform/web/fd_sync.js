// fsync for the browser build. Emscripten 3.1.6's own one stores the file's mount (IDBFS: the
// browser's IndexedDB) but, when the store fails, hands a function back instead of EIO, so the
// game would take a save that was never kept for a good one. This one answers EIO.
mergeInto(LibraryManager.library, {
    fd_sync__sig: "ii",
    fd_sync: function (fd) {
        var stream;
        try {
            stream = SYSCALLS.getStreamFromFD(fd);
        } catch (e) {
            if (typeof FS == "undefined" || !(e instanceof FS.ErrnoError)) {
                throw e;
            }
            return e.errno;
        }
        return Asyncify.handleSleep(function (wakeUp) {
            var mount = stream.node.mount;
            if (!mount.type.syncfs) {
                wakeUp(0); // kept in memory only by design (no store behind it)
                return;
            }
            mount.type.syncfs(mount, false, function (err) {
                wakeUp(err ? {{{ cDefine("EIO") }}} : 0);
            });
        });
    },
});

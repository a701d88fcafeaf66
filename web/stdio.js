// The console run's standard input and output in the page: the C library's
// reads and writes end here, and are handed to the page's console, which the
// page passes to each run as Module.console (see console.js).
//
// Both calls may suspend the program (Asyncify): a read until a line is
// typed, a write so that the page can draw and take input before the program
// goes on. When Asyncify resumes a suspended program it calls the same import
// again with the same arguments; that call only collects the result, so its
// work must not be done twice.
mergeInto(LibraryManager.library, {
  fd_write: function (fd, iov, iovcnt, pnum) {
    if (Asyncify.state === Asyncify.State.Normal) {
      var written = 0;
      for (var i = 0; i < iovcnt; i++) {
        var base = HEAPU32[(iov + 8 * i) >> 2];
        var length = HEAPU32[(iov + 8 * i + 4) >> 2];
        Module.console.write(fd, HEAPU8.subarray(base, base + length));
        written += length;
      }
      HEAPU32[pnum >> 2] = written;
      if (!Module.console.mustPause()) {
        return 0;
      }
    }
    return Asyncify.handleSleep(function (wakeUp) {
      Module.console.pause(function () {
        wakeUp(0);
      });
    });
  },

  fd_read: function (fd, iov, iovcnt, pnum) {
    return Asyncify.handleSleep(function (wakeUp) {
      Module.console.read(function (take) {
        var read = 0;
        for (var i = 0; i < iovcnt; i++) {
          var base = HEAPU32[(iov + 8 * i) >> 2];
          var length = HEAPU32[(iov + 8 * i + 4) >> 2];
          var bytes = take(length);
          HEAPU8.set(bytes, base);
          read += bytes.length;
          if (bytes.length < length) {
            break;
          }
        }
        HEAPU32[pnum >> 2] = read;
        wakeUp(0);
      });
    });
  },
});

// Standard streams of one run, inside the Emscripten module. The page passes
//   Module.procitajRed()   the next line of the answers (a string ending in a
//                          line break), or null when none has been entered yet;
//   Module.pisi(bajtovi)   each write to standard output or error, whole: the
//                          C library hands over what it flushes, which here is
//                          a prompt, a message or a frame's equations;
//   Module.zavrsen(status) when the program ends through exit or _Exit.
// Emscripten's own console collects output into whole lines, which would hold
// back the wrong-choice message and add a line break of its own; its device
// for a callback calls it once per byte. These streams pass each write on as
// it is written, in one piece.

// Thrown out of a read when the run has used every line entered so far. It
// passes through the C library and main, and the page drops the run: the next
// line entered starts the dialogue again from the beginning.
Module["CEKA_UNOS"] = { cekaUnos: true };

// Every exit and _Exit ends here, in the dialogue or in a key handler. The
// runtime is kept (there is no EXIT_RUNTIME), so the aborted state also stops
// the frame that a key pressed just before may have asked for.
Module["quit"] = function (status, izuzetak) {
  if (izuzetak instanceof ExitStatus) {
    ABORT = true;
    Module["zavrsen"](status);
  }
  throw izuzetak;
};

Module["preRun"] = [function () {
  FS.init();

  // Standard input as a terminal in line mode gives it: one read returns at
  // most the rest of one line. Emscripten's devices turn an exception of the
  // reader into an input error, so this one is a device of its own.
  let ostatak = [];
  const UNOS = FS.makedev(99, 0);
  FS.registerDevice(UNOS, {
    open: function (stream) { stream.seekable = false; },
    read: function (stream, buffer, offset, length) {
      if (length === 0) return 0;
      if (ostatak.length === 0) {
        const red = Module["procitajRed"]();
        if (red === null) throw Module["CEKA_UNOS"];
        ostatak = Array.from(new TextEncoder().encode(red));
      }
      const n = Math.min(length, ostatak.length);
      for (let i = 0; i < n; i++) buffer[offset + i] = ostatak[i];
      ostatak = ostatak.slice(n);
      return n;
    },
  });
  // Standard output and error: one call of the page per write. The bytes are
  // copied, as the buffer is the program's memory and is written again.
  const IZLAZ = FS.makedev(99, 1);
  FS.registerDevice(IZLAZ, {
    open: function (stream) { stream.seekable = false; },
    write: function (stream, buffer, offset, length) {
      if (length > 0) Module["pisi"](buffer.slice(offset, offset + length));
      return length;
    },
  });
  FS.mkdev("/dev/unos", 0o444, UNOS);
  FS.mkdev("/dev/izlaz", 0o222, IZLAZ);
  // Each open takes the lowest free descriptor: 0, then 1, then 2.
  FS.close(FS.getStream(0));
  FS.open("/dev/unos", 0);
  for (const fd of [1, 2]) {
    FS.close(FS.getStream(fd));
    FS.open("/dev/izlaz", 1);
  }
}];

// Standard streams of one run, inside the Emscripten module. The page passes
//   Module.procitajRed()  the next line of the answers (a string ending in a
//                         line break), or null when none has been entered yet;
//   Module.pisi(bajt)     for each byte of standard output and error;
//   Module.zavrsen(status) when the program ends through exit or _Exit.
// Emscripten's own console collects output into whole lines, which would hold
// back the wrong-choice message and add a line break of its own; these streams
// pass every byte on as it is written.

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
  FS.init(null, Module["pisi"], Module["pisi"]);

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
  FS.mkdev("/dev/unos", 0o444, UNOS);
  FS.close(FS.getStream(0));
  FS.open("/dev/unos", 0);  // the lowest free descriptor: 0
}];

// The site's pages register its service worker (radnik.js) once they have
// loaded, so its copy of the site does not hold up the first picture.
//
// A new version of the site takes over every open page, whether the old worker
// served it or it came before any worker (a lesson link opened for the first
// time), and the old version's copy is gone with it. A page whose WebAssembly is
// not in the copy that now serves it would fail at its next run: it reloads into
// the new version at once, with every answer entered so far in its address
// (stranica.js, "geometrija-nova-verzija"). The start page has nothing to lose:
// served by an older worker, it reloads into the new version.
(function () {
  "use strict";
  if (!("serviceWorker" in navigator) || !/^https?:$/.test(location.protocol)) return;
  const stari = navigator.serviceWorker.controller;
  navigator.serviceWorker.addEventListener("controllerchange", async function () {
    const wasm = document.documentElement.dataset.wasm;
    if (!wasm) {
      if (stari) location.reload();
      return;
    }
    // The new worker says whether its set has this page's program (radnik.js).
    const ima = await new Promise(function (odgovor) {
      const kanal = new MessageChannel();
      kanal.port1.onmessage = function (poruka) { odgovor(poruka.data); };
      navigator.serviceWorker.controller.postMessage({ ima: wasm }, [kanal.port2]);
    });
    if (!ima) dispatchEvent(new Event("geometrija-nova-verzija"));
  });
  addEventListener("load", function () { navigator.serviceWorker.register("radnik.js").catch(function () {}); });
})();

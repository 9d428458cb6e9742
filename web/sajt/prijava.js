// The site's pages register its service worker (radnik.js) once they have
// loaded, so its copy of the site does not hold up the first picture. A page that
// an older worker served reloads when a newer one takes over: the newer set has
// none of its script and WebAssembly, and the reload brings the whole new set.
(function () {
  "use strict";
  if (!("serviceWorker" in navigator) || !/^https?:$/.test(location.protocol)) return;
  const stari = navigator.serviceWorker.controller;
  navigator.serviceWorker.addEventListener("controllerchange", function () { if (stari) location.reload(); });
  addEventListener("load", function () { navigator.serviceWorker.register("radnik.js").catch(function () {}); });
})();

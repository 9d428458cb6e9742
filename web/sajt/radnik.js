// The site's service worker: it keeps every file of one version of the site and
// serves them from there, first, online or not.
//
// A version is one set of files, swapped whole. Its cache is named from the
// site's version and a hash of all its files, and this script holds each
// file's SHA-256 (sajt.cmake writes them in), so any change to any file makes
// a new worker, which the browser installs beside the old one at the next
// visit. It takes every file from the server, past the HTTP cache, and keeps the
// set only if each file is exactly the one named here: a server caught halfway
// through a copy gives no mixed set, only a failed install, tried again later.
// The script and the WebAssembly carry their hash in their names and each page
// names its own, so no page ever runs another version's program: an old page
// still open when the new set takes over finds nothing of its own in it, and
// reloads into the new version (prijava.js).
"use strict";
const PREFIKS = "geometrija " + self.registration.scope + " ";
const SKLADISTE = PREFIKS + "@SKLADISTE@";
const DATOTEKE = @DATOTEKE@;  // [name, SHA-256 in hex]

const heks = (bajtovi) => Array.from(new Uint8Array(bajtovi), (b) => b.toString(16).padStart(2, "0")).join("");

async function preuzmi([ime, ocekivano]) {
  const odgovor = await fetch(new Request(ime, { cache: "no-cache" }));
  const stvarno = heks(await crypto.subtle.digest("SHA-256", await odgovor.clone().arrayBuffer()));
  if (!odgovor.ok || stvarno !== ocekivano)
    throw new Error(`${ime}: status ${odgovor.status}, SHA-256 ${stvarno}, expected ${ocekivano}`);
  return [ime, odgovor];
}

self.addEventListener("install", (dogadjaj) => dogadjaj.waitUntil((async () => {
  const odgovori = await Promise.all(DATOTEKE.map(preuzmi));
  await caches.delete(SKLADISTE);  // what a failed try may have left
  const skladiste = await caches.open(SKLADISTE);
  await Promise.all(odgovori.map(([ime, odgovor]) => skladiste.put(ime, odgovor)));
  await self.skipWaiting();
})()));

// The old sets go (this site's only: others may share the origin), and the open
// pages come under the new worker.
self.addEventListener("activate", (dogadjaj) => dogadjaj.waitUntil((async () => {
  for (const ime of await caches.keys())
    if (ime.startsWith(PREFIKS) && ime !== SKLADISTE) await caches.delete(ime);
  await self.clients.claim();
})()));

// A lesson's answers are in the address: the page is the same file. The start
// page is also its folder's address.
self.addEventListener("fetch", (dogadjaj) => {
  const adresa = new URL(dogadjaj.request.url);
  if (dogadjaj.request.method !== "GET" || adresa.origin !== location.origin) return;
  if (adresa.pathname.endsWith("/")) adresa.pathname += "index.html";
  dogadjaj.respondWith((async () => {
    const sacuvan = await (await caches.open(SKLADISTE)).match(adresa.href, { ignoreSearch: true });
    return sacuvan ?? fetch(dogadjaj.request);
  })());
});

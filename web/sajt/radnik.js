// The site's service worker: it keeps every file of one version of the site and
// serves them from there, first, online or not, each checked against its
// SHA-256 as it is served: a file that is missing or damaged in the copy (a
// disk, an extension or a person that changed it) is fetched again and kept,
// and offline the page says what happened.
//
// A version is one set of files, swapped whole. Its cache is named from the
// site's version and a hash of all its files, and this script holds each
// file's SHA-256 (sajt.cmake writes them in), so any change to any file makes
// a new worker, which the browser installs beside the old one at the next
// visit. It takes every file from the server, past the HTTP cache, and keeps the
// set only if each file is exactly the one named here: a server caught halfway
// through a copy gives no mixed set, only a failed install, tried again later.
// The script and the WebAssembly carry their hash in their names and each page
// names its own, so no page ever runs another version's program: an open page
// whose program is not in the new set reloads into the new version before it
// can ask for a file that is gone (prijava.js).

"use strict";
const PREFIKS = "geometrija " + self.registration.scope + " ";
const SKLADISTE = PREFIKS + "@SKLADISTE@";
const DATOTEKE = @DATOTEKE@;  // [name, SHA-256 in hex]
const OCEKIVANO = new Map(DATOTEKE);
const MAPA = new URL("./", location.href).href;

const heks = (bajtovi) => Array.from(new Uint8Array(bajtovi), (b) => b.toString(16).padStart(2, "0")).join("");

const hes = async (odgovor) => heks(await crypto.subtle.digest("SHA-256", await odgovor.clone().arrayBuffer()));

// Asked of the server, which may answer that the browser's own copy is current;
// a copy that is not the file named here (a cut file the browser kept) is
// passed by, and the file fetched whole.
async function preuzmi([ime, ocekivano]) {
  let odgovor, stvarno;
  for (const nacin of ["no-cache", "reload"]) {
    odgovor = await fetch(new Request(ime, { cache: nacin }));
    stvarno = await hes(odgovor);
    if (odgovor.ok && stvarno === ocekivano) return [ime, odgovor];
  }
  throw new Error(`${ime}: status ${odgovor.status}, SHA-256 ${stvarno}, expected ${ocekivano}`);
}

// What a page is told when its file is damaged in the copy and the server
// cannot be reached: a page of its own in place of a page, a failed fetch in
// place of a file (the program's page says what that means, stranica.js).
const OSTECENO = "Sacuvana kopija ove stranice na ovom uredjaju je ostecena ili nepotpuna, a server sada nije " +
  "dostupan. Kada se uredjaj ponovo poveze sa mrezom, osvezite stranicu (F5): ispravna kopija se tada preuzima sama.";
function ostecen(zahtev) {
  if (zahtev.mode !== "navigate") return Response.error();
  return new Response(`<!doctype html><html lang="sr"><meta charset="utf-8"><meta name="viewport" ` +
    `content="width=device-width, initial-scale=1"><title>geometrija</title><main><h1>Stranica nije dostupna</h1>` +
    `<p>${OSTECENO}</p></main></html>`, { status: 503, headers: { "Content-Type": "text/html; charset=utf-8" } });
}

// One file of the set: the copy's if it is whole, else the server's, kept.
async function izSkladista(ime, zahtev) {
  const skladiste = await caches.open(SKLADISTE);
  const sacuvan = await skladiste.match(ime);
  if (sacuvan && await hes(sacuvan) === OCEKIVANO.get(ime)) return sacuvan;
  try {
    const [, odgovor] = await preuzmi([ime, OCEKIVANO.get(ime)]);
    await skladiste.put(ime, odgovor.clone());
    return odgovor;
  } catch {
    return ostecen(zahtev);
  }
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

// Whether a page's file is in this set (prijava.js asks it of a new worker).
self.addEventListener("message", (dogadjaj) => dogadjaj.ports[0]?.postMessage(OCEKIVANO.has(dogadjaj.data?.ima)));

// A lesson's answers are in the address: the page is the same file. The start
// page is also its folder's address.
self.addEventListener("fetch", (dogadjaj) => {
  const adresa = new URL(dogadjaj.request.url);
  if (dogadjaj.request.method !== "GET" || adresa.origin !== location.origin) return;
  if (adresa.pathname.endsWith("/")) adresa.pathname += "index.html";
  const ime = adresa.href.startsWith(MAPA) ? adresa.pathname.slice(new URL(MAPA).pathname.length) : "";
  dogadjaj.respondWith(OCEKIVANO.has(ime) ? izSkladista(ime, dogadjaj.request) : fetch(dogadjaj.request));
});

// Browser tests of the site build-web/sajt/, served by Debian's nginx on this
// machine's loopback with gzip on, as a school's server would: installable in
// Chromium, working offline after one visit (Chromium and Firefox ESR), replaced
// whole by a new version, also under a lesson opened before its service worker,
// mended when its copy is damaged, and small on the wire. The server sends the
// cache headers that docs/web.md gives (sajt/nginx-kes.conf). nginx is this test's own: its
// configuration, logs and port in a temporary folder, stopped by its pid.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { spawn, execFileSync } from "node:child_process";
import fs from "node:fs";
import net from "node:net";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";
import { pristupacna } from "./pristupacnost.mjs";
import { PNG } from "pngjs";

const { GEOMETRIJA_SAJT: SAJT, GEOMETRIJA_SAJT_DELOVI: DELOVI, GEOMETRIJA_IZVOR: IZVOR, CMAKE } = process.env;
const PRVA_POSETA = 160000;  // bytes on the wire, the service worker's copy of the site included
const PRVA_SLIKA = 500;      // ms from opening a lesson to its first picture

const radna = fs.mkdtempSync(path.join(os.tmpdir(), "geometrija-sajt-"));
fs.chmodSync(radna, 0o755);  // nginx's workers may run as another user
// The site in a folder of the server, as on a school's: a link to one version.
const koren = path.join(radna, "www", "geometrija");
let posluzilac = null, adresa = "";
const pregledaci = [];

// ---- The server ---------------------------------------------------------------
async function slobodanPort() {
  const s = net.createServer();
  await new Promise((r) => s.listen(0, "127.0.0.1", r));
  const { port } = s.address();
  await new Promise((r) => s.close(r));
  return port;
}

let port = null;  // the same each start: a new port would be a new site to the browser
async function pokreniPosluzilac() {
  port ??= await slobodanPort();
  const log = path.join(radna, "pristup.log");
  fs.writeFileSync(path.join(radna, "nginx.conf"), `
daemon off;
pid ${radna}/nginx.pid;
error_log ${radna}/greske.log;
worker_processes 1;
events { worker_connections 64; }
http {
  log_format bajtovi '$uri $status $bytes_sent';
  access_log ${log} bajtovi;
  client_body_temp_path ${radna}/tmp; proxy_temp_path ${radna}/tmp; fastcgi_temp_path ${radna}/tmp;
  uwsgi_temp_path ${radna}/tmp; scgi_temp_path ${radna}/tmp;
  types { text/html html; application/javascript js; application/wasm wasm;
          application/manifest+json webmanifest; image/png png; }
  gzip on;
  gzip_comp_level 6;
  gzip_types application/javascript application/wasm application/manifest+json;
  server {
    listen 127.0.0.1:${port}; root ${radna}/www;
${fs.readFileSync(path.join(IZVOR, "web/sajt/nginx-kes.conf"), "utf8")}  }
}`);
  fs.mkdirSync(path.join(radna, "tmp"), { recursive: true });
  const proces = spawn("/usr/sbin/nginx", ["-p", radna, "-e", `${radna}/greske.log`, "-c", `${radna}/nginx.conf`], { stdio: "inherit" });
  const kraj = new Promise((r) => proces.on("exit", r));
  for (let i = 0; i < 50; i++) {
    if (await new Promise((r) => { const c = net.connect(port, "127.0.0.1", () => { c.end(); r(true); }).on("error", () => r(false)); })) break;
    await new Promise((r) => setTimeout(r, 100));
  }
  posluzilac = { proces, kraj, log };
  process.once("exit", () => { if (posluzilac?.proces === proces) proces.kill(); });  // a test that died
  adresa = `http://localhost:${port}/geometrija/`;
}

async function zaustaviPosluzilac() {
  if (!posluzilac) return;
  process.kill(posluzilac.proces.pid, "SIGTERM");
  await posluzilac.kraj;
  posluzilac = null;
}

// What the server has sent since `od` (a line count): [path, status, bytes].
const zahtevi = (od = 0) => fs.readFileSync(posluzilac.log, "utf8").split("\n").filter(Boolean).slice(od).map((r) => {
  const [put, status, bajtovi] = r.split(" ");
  return [put.replace("/geometrija/", ""), Number(status), Number(bajtovi)];
});
const zbir = (z) => z.reduce((s, [, , b]) => s + b, 0);

// Serves the version in `fascikla` from now on, as a copy put in place at once.
function postavi(fascikla) {
  const novo = `${koren}-${Date.now()}`;
  fs.symlinkSync(fascikla, novo);
  fs.renameSync(novo, koren);
}

// ---- The two versions -----------------------------------------------------------
// The second is the site's own step run again on changed program files: each
// WebAssembly gets a custom section (still the same program), the script a line.
const prva = path.join(radna, "v1"), druga = path.join(radna, "v2");
const verzija = (f) => /<span id="verzija">([^<]*)</.exec(fs.readFileSync(path.join(f, "index.html"), "utf8"))[1];
const spisak = (f) => fs.readdirSync(f);

function sagradiDrugu() {
  const delovi = path.join(radna, "delovi");
  fs.cpSync(DELOVI, delovi, { recursive: true });
  const sekcija = Buffer.concat([Buffer.from([0, 7, 6]), Buffer.from("proba2")]);  // id 0, size 7, name of 6
  for (const w of ["geometrija.wasm", "geometrija-demo.wasm"]) fs.appendFileSync(path.join(delovi, w), sekcija);
  fs.appendFileSync(path.join(delovi, "geometrija.js"), "\n// proba 2\n");
  execFileSync(CMAKE, [`-DIZVOR=${IZVOR}`, `-DDELOVI=${delovi}`, `-DIZLAZ=${druga}`, `-DVERZIJA=${verzija(SAJT)}+proba`,
                       "-P", path.join(IZVOR, "web/sajt/sajt.cmake")], { stdio: "ignore" });
}

// ---- Browsers and pages -----------------------------------------------------------
async function pokreni(ime) {
  const profil = fs.mkdtempSync(path.join(radna, `${ime}-`));
  const p = ime === "firefox"
    ? await puppeteer.launch({ browser: "firefox", executablePath: "/usr/bin/firefox-esr", headless: false, userDataDir: profil })
    : await puppeteer.launch({ executablePath: "/usr/bin/chromium", userDataDir: profil, headless: true,
                               args: ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
                                      "--disable-component-update", "--disable-sync", "--enable-unsafe-swiftshader"] });
  pregledaci.push(p);
  return p;
}
const strana = async (pregledac) => { const s = await pregledac.newPage(); await s.setViewport({ width: 1000, height: 700 }); return s; };
// Until the page has drawn its first picture.
const nacrtana = (s) => s.waitForFunction(() => document.getElementById("platno")?.dataset.slike >= 1, { timeout: 15000 });
// Until the page's service worker has its set and controls the page.
const zaSkladistem = (s) => s.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 20000 });

const PARABOLA = Object.fromEntries(["txt", "ispis"].map((k) => [k, fs.readFileSync(path.join(IZVOR, `docs/lekcije/parabola.${k}`), "utf8")]));
// The start page's own link to the lesson, as a teacher follows it.
async function otvoriLekciju(s, odgovori) {
  await s.goto(adresa);
  const href = await s.$$eval("main a", (a, o) => a.find((x) => new URL(x.href).searchParams.get("odgovori") === o
                                                       && !x.href.includes("projektor")).href, odgovori);
  await s.goto(href);
  await nacrtana(s);
}

// The parabola p = 10 in the 500 x 500 picture: the reflected ray and the curve
// drawn where the geometry puts them, and an empty corner.
async function proveriParabolu(s) {
  assert.equal(await s.$eval("#konzola", (e) => e.textContent), PARABOLA.ispis, "the transcript against docs/lekcije/parabola.ispis");
  const slika = PNG.sync.read(await (await s.$("#platno")).screenshot({ captureBeyondViewport: false }));
  const k = 250 / (50 * Math.tan(Math.PI / 6));
  const boja = (x, y) => { const i = (Math.round(250 - y * k) * slika.width + Math.round(250 + x * k)) * 4; return [...slika.data.slice(i, i + 3)]; };
  const blizu = (x, y, uslov) => [-1, 0, 1].some((d) => [-1, 0, 1].some((e) => uslov(boja(x + d / k, y + e / k))));
  assert.ok(blizu(15, Math.sqrt(50), ([r, g, b]) => r - b > 64 && g - b > 64), `reflected ray at (15, 7.07): olive expected, actual ${boja(15, Math.sqrt(50))}`);
  assert.ok(blizu(10, Math.sqrt(200), (c) => Math.max(...c) < 160), `curve at (10, 14.1): black expected, actual ${boja(10, Math.sqrt(200))}`);
  assert.deepEqual(boja(-20, 20), [255, 255, 255], "empty corner at (-20, 20)");
}

before(async () => {
  assert.ok(SAJT && fs.existsSync(path.join(SAJT, "radnik.js")), `${SAJT} is missing: build it with ./dev.sh web`);
  fs.cpSync(SAJT, prva, { recursive: true });
  sagradiDrugu();
  fs.mkdirSync(path.dirname(koren));
  postavi(prva);
  await pokreniPosluzilac();
});

after(async () => {
  for (const p of pregledaci) await p.close();
  await zaustaviPosluzilac();
  fs.rmSync(radna, { recursive: true, force: true });
});

// ---- Chromium: installed, offline, updated ---------------------------------------
let chromium;
test("chromium: installable; the first visit under its byte budget; a repeat visit asks only for the worker", async (t) => {
  chromium = await pokreni("chromium");
  // Bytes received as DevTools counts them, by the page and by its service
  // worker, which is held at its start until it is counted too.
  const primljeno = { stranica: 0, radnik: 0 };
  const pregledac = await chromium.target().createCDPSession();
  pregledac.on("Target.attachedToTarget", async ({ sessionId, targetInfo, waitingForDebugger }) => {
    const sesija = pregledac.connection().session(sessionId);
    if (targetInfo.type === "service_worker") {
      sesija.on("Network.loadingFinished", (d) => { primljeno.radnik += d.encodedDataLength; });
      await sesija.send("Network.enable");
    }
    if (waitingForDebugger) await sesija.send("Runtime.runIfWaitingForDebugger");
  });
  await pregledac.send("Target.setAutoAttach", { autoAttach: true, waitForDebuggerOnStart: true, flatten: true,
                                                 filter: [{ type: "service_worker" }] });
  const s = await strana(chromium);
  const cdp = await s.createCDPSession();
  cdp.on("Network.loadingFinished", (d) => { primljeno.stranica += d.encodedDataLength; });
  await cdp.send("Network.enable");
  await s.goto(adresa);
  await zaSkladistem(s);
  const { installabilityErrors: greske } = await cdp.send("Page.getInstallabilityErrors");
  assert.deepEqual(greske.filter((g) => g.errorId !== "in-incognito"), [], "installability errors");
  await pristupacna(s, "the start page");
  // Each lesson of docs/lekcije, as typed and for the projector, with its answers exactly.
  const veze = await s.$$eval("main a", (a) => a.map((x) => [...new URL(x.href).searchParams].map((p) => p.join("=")).join("&")));
  for (const f of fs.readdirSync(path.join(IZVOR, "docs/lekcije")).filter((f) => f.endsWith(".txt"))) {
    const o = `odgovori=${fs.readFileSync(path.join(IZVOR, "docs/lekcije", f), "utf8")}`;
    assert.deepEqual(veze.filter((v) => v.startsWith(o)), [o, `${o}&projektor=1`], `the start page's links to ${f}`);
  }
  const prvi = zahtevi();
  const skinuto = new Set(prvi.filter(([, st]) => st === 200).map(([p]) => p));
  assert.deepEqual(spisak(prva).filter((f) => !skinuto.has(f)), [], "site files never fetched on the first visit");
  t.diagnostic(`first visit: ${zbir(prvi)} bytes sent by the server in ${prvi.length} responses; DevTools: ` +
               `${primljeno.stranica} received by the page, ${primljeno.radnik} by its service worker; ` +
               prvi.map(([p, st, b]) => `${p} ${st} ${b}`).join(", "));
  assert.ok(zbir(prvi) <= PRVA_POSETA, `first visit: ${zbir(prvi)} bytes, expected at most ${PRVA_POSETA}`);

  const n = prvi.length;
  await s.goto(adresa);
  await s.goto(`${adresa}geometrija.html?odgovori=${encodeURIComponent(PARABOLA.txt)}`);
  await nacrtana(s);
  await new Promise((r) => setTimeout(r, 1500));  // a worker's update check may follow a navigation
  const ponovo = zahtevi(n);
  t.diagnostic(`repeat visit: ${zbir(ponovo)} bytes: ${JSON.stringify(ponovo)}`);
  assert.deepEqual(ponovo.filter(([p]) => p !== "radnik.js"), [], "repeat visit: requests besides the worker's check");
  await s.close();
});

test("chromium: with the server stopped, the start page and a lesson from it: the transcript and the picture", async (t) => {
  await zaustaviPosluzilac();
  const s = await strana(chromium);
  await s.goto(adresa);
  assert.equal(await s.$eval("h1", (h) => h.textContent), "geometrija");
  await otvoriLekciju(s, PARABOLA.txt);
  await proveriParabolu(s);
  const ms = await s.evaluate(() => window.geometrijaPrvaSlika);
  t.diagnostic(`offline, first picture ${Math.round(ms)} ms after opening the lesson`);
  assert.ok(ms < PRVA_SLIKA, `first picture after ${Math.round(ms)} ms, expected under ${PRVA_SLIKA}`);
  // The demonstration, on the program's script and its own WebAssembly.
  await s.goto(`${adresa}geometrija-demo.html`);
  await nacrtana(s);
  await s.close();
});

test("chromium: a new version on the server: the next visit shows it whole, and an open old page reloads into it", async () => {
  const stara = await strana(chromium);  // a lesson of the first version, still open
  await stara.goto(`${adresa}geometrija.html?odgovori=${encodeURIComponent(PARABOLA.txt)}`);
  postavi(druga);
  await pokreniPosluzilac();
  const s = await strana(chromium);
  await s.goto(adresa);
  await s.waitForFunction((v) => document.getElementById("verzija")?.textContent === v, { timeout: 20000 }, verzija(druga));
  const kes = await s.evaluate(async () => caches.keys());
  assert.equal(kes.length, 1, `caches after the update: ${kes}`);
  const ime = /PREFIKS \+ "([^"]*)"/.exec(fs.readFileSync(path.join(druga, "radnik.js"), "utf8"))[1];
  assert.ok(kes[0].endsWith(` ${ime}`), `the cache ${kes[0]}: expected the second version's, ${ime}`);
  const samoPrve = spisak(prva).filter((f) => !spisak(druga).includes(f));
  const wasm = spisak(druga).find((f) => /^geometrija\.[0-9a-f]+\.wasm$/.test(f));
  for (const p of [stara, s]) {
    await p.bringToFront();  // a tab behind another draws no frames
    if (p === s) await otvoriLekciju(s, PARABOLA.txt);
    else await p.waitForFunction((w) => document.documentElement.dataset.wasm === w && document.readyState === "complete"
                                        && document.getElementById("platno")?.dataset.slike >= 1, { timeout: 20000 }, wasm);
    const ucitano = await p.evaluate(() => [document.documentElement.dataset.wasm,
      ...performance.getEntriesByType("resource").map((r) => new URL(r.name).pathname.split("/").pop())]);
    assert.deepEqual(ucitano.filter((f) => samoPrve.includes(f)), [], `files of the first version in ${p.url()}`);
    assert.ok(spisak(druga).includes(ucitano[0]), `the page's WebAssembly ${ucitano[0]}: expected one of the second version`);
    await proveriParabolu(p);
  }
  await stara.close();
  await s.close();
});

// ---- Firefox ESR: online, then offline ---------------------------------------------
test("firefox: a lesson online, then with the server stopped", async () => {
  if (!posluzilac) await pokreniPosluzilac();
  const firefox = await pokreni("firefox");
  const s = await strana(firefox);
  await s.goto(adresa);
  await zaSkladistem(s);
  await otvoriLekciju(s, PARABOLA.txt);
  await proveriParabolu(s);
  await zaustaviPosluzilac();
  await s.reload();
  await nacrtana(s);
  await proveriParabolu(s);
  await otvoriLekciju(s, PARABOLA.txt);
  await proveriParabolu(s);
  await s.close();
});

// ---- Chromium: updates and damage that must not break a lesson ----------------------
// The browser's own HTTP cache is off in these pages: what they show comes from the
// server or from the service worker's copy, never from a file the browser kept.
const bezKesa = async (s) => { await (await s.createCDPSession()).send("Network.setCacheDisabled", { cacheDisabled: true }); return s; };
const wasmOd = (f) => spisak(f).find((x) => /^geometrija\.[0-9a-f]+\.wasm$/.test(x));
const lekcijaU = (odgovori) => `${adresa}geometrija.html?odgovori=${encodeURIComponent(odgovori)}`;

let prvaPoseta;
test("chromium: a lesson opened on a first visit meets a new version while open; its next answers go on in it", async () => {
  postavi(prva);
  if (!posluzilac) await pokreniPosluzilac();
  prvaPoseta = await pokreni("chromium");
  const s = await bezKesa(await strana(prvaPoseta));
  await s.goto(lekcijaU("3\n10\n"));
  await zaSkladistem(s);  // the first version's worker, come after the page
  postavi(druga);
  await s.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()));
  await s.waitForFunction((w) => document.documentElement.dataset.wasm === w && !document.getElementById("unos").disabled,
                          { timeout: 20000 }, wasmOd(druga));
  await s.type("#unos", "0.5\n1\n");
  await nacrtana(s);
  await proveriParabolu(s);
  await s.close();
});

test("chromium: a damaged copy: offline the lesson and the start page say so; with the server back a reload mends both", async () => {
  const s = await bezKesa(await strana(prvaPoseta));
  await s.goto(lekcijaU(PARABOLA.txt));
  await nacrtana(s);
  await s.evaluate(async (wasm) => {
    const kopija = await caches.open((await caches.keys())[0]);
    await kopija.put(wasm, new Response("kvar", { headers: { "Content-Type": "application/wasm" } }));
    await kopija.delete("index.html");
  }, wasmOd(druga));
  await zaustaviPosluzilac();
  await s.goto(lekcijaU(PARABOLA.txt));
  await s.waitForFunction(() => document.body.dataset.greska !== undefined, { timeout: 15000 });
  assert.match(await s.$eval("#poruka", (p) => p.textContent), /kopija na ovom uredjaju je ostecena.*osvezite stranicu/s);
  await s.goto(adresa);
  assert.match(await s.$eval("body", (b) => b.textContent), /Stranica nije dostupna.*ostecena.*osvezite stranicu/s);

  await pokreniPosluzilac();
  await s.goto(lekcijaU(PARABOLA.txt));
  await nacrtana(s);
  await proveriParabolu(s);
  await s.goto(adresa);
  assert.equal(await s.$eval("h1", (h) => h.textContent), "geometrija");
  assert.equal(await s.evaluate(async (w) => (await (await caches.match(w)).arrayBuffer()).byteLength, wasmOd(druga)),
               fs.statSync(path.join(druga, wasmOd(druga))).size, "the mended WebAssembly in the copy");
  await s.close();
});

// The web page's frame, measured, for comparison with the native frame benchmark
// (./dev.sh bench). Not a test: run it by hand, with a display for Firefox,
//
//   build/xvfb/privatni-x node web/test/merilo-kadra.mjs [build-web/geometrija.html]
//
// For each browser and case it opens the lesson link, lets the page draw 20
// frames, then times 20 pan keys pressed through the browser's input (CDP or
// WebDriver BiDi); then it draws frames up to 2000 and times 20 keys again. One
// key's frame is timed
//   from the key   the keydown event's time stamp, to the end: the frame's
//                  equations in the panel, laid out, and the picture drawn (one
//                  pixel read back, so the GL work is finished too);
//   work only      from the start of the animation frame that draws it to the
//                  same end: what the native benchmark times as its frame;
//   page           the same, without waiting for the GL work: the page's own
//                  script, the program's drawing calls, the console and its
//                  layout.
// The first is the second plus the wait for the browser's next animation frame.
// Also printed: the time from opening the page to its first picture.
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";

const HTML = path.resolve(process.argv[2] ?? "build-web/geometrija.html");
const SLUCAJEVI = {
  "ellipse, reflection far out (1 / 1e6 1e6 / 135)": "1\n1e6 1e6\n135\n",
  "parabola, worked example (3 / 10 / 0.5 / 1)": "3\n10\n0.5\n1\n",
};
const MERENIH = 20, UKUPNO = 2000;

// Put into the page before its own scripts.
function merac() {
  window.meraKadra = { kljuc: 0, pocetak: 0, kadrovi: [] };
  addEventListener("keydown", (d) => { window.meraKadra.kljuc = d.timeStamp; }, true);
  const raf = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (f) => raf((t) => { window.meraKadra.pocetak = performance.now(); f(t); });
  const piksel = new Uint8Array(4);
  new MutationObserver(() => {
    const platno = document.getElementById("platno");
    if (!platno) return;
    const strana = performance.now();
    const gl = platno.getContext("webgl");
    gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, piksel);
    const m = window.meraKadra;
    m.kadrovi.push({ kljuc: m.kljuc, pocetak: m.pocetak, strana, kraj: performance.now() });
  }).observe(document, { subtree: true, attributes: true, attributeFilter: ["data-slike"] });
}

const medijana = (a) => { const b = [...a].sort((x, y) => x - y); return (b[(b.length - 1) >> 1] + b[b.length >> 1]) / 2; };

async function kljucevi(strana) {
  const od = await strana.evaluate(() => window.meraKadra.kadrovi.length);
  for (let i = 0; i < MERENIH; i++) {
    await strana.keyboard.press(i % 2 ? "d" : "a");
    await strana.waitForFunction((n) => window.meraKadra.kadrovi.length > n, {}, od + i);
  }
  const k = (await strana.evaluate(() => window.meraKadra.kadrovi)).slice(od, od + MERENIH);
  return { odKljuca: medijana(k.map((x) => x.kraj - x.kljuc)), rad: medijana(k.map((x) => x.kraj - x.pocetak)),
           strana: medijana(k.map((x) => x.strana - x.pocetak)) };
}

// Frames up to `n` in all, each asked for by the A or D button and awaited.
const kadroviDo = (strana, n) => strana.evaluate(async (n) => {
  const platno = document.getElementById("platno");
  const [a, d] = ["a", "d"].map((t) => document.querySelector(`#tasteri [data-taster="${t}"]`));
  while (Number(platno.dataset.slike) < n) {
    const bilo = Number(platno.dataset.slike);
    (bilo % 2 ? d : a).click();
    await new Promise((gotovo) => {
      const cekaj = () => (Number(platno.dataset.slike) > bilo ? gotovo() : requestAnimationFrame(cekaj));
      cekaj();
    });
  }
}, n);

for (const ime of ["chromium", "firefox"]) {
  const profil = fs.mkdtempSync(path.join(os.tmpdir(), `merilo-${ime}-`));
  const pregledac = ime === "firefox"
    ? await puppeteer.launch({ browser: "firefox", executablePath: "/usr/bin/firefox-esr", headless: false, userDataDir: profil })
    : await puppeteer.launch({ executablePath: "/usr/bin/chromium", userDataDir: profil, headless: true,
        args: ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
               "--disable-component-update", "--disable-sync", "--enable-unsafe-swiftshader"] });
  console.log(`${ime} ${await pregledac.version()}`);
  for (const [slucaj, odgovori] of Object.entries(SLUCAJEVI)) {
    const strana = await pregledac.newPage();
    await strana.setViewport({ width: 1000, height: 700 });
    await strana.evaluateOnNewDocument(merac);
    await strana.goto(`file://${HTML}?odgovori=${encodeURIComponent(odgovori)}`);
    await strana.waitForFunction(() => document.getElementById("platno")?.dataset.slike >= 1, { timeout: 20000 });
    const prvaSlika = await strana.evaluate(() => window.geometrijaPrvaSlika);
    await kadroviDo(strana, MERENIH);
    const rano = await kljucevi(strana);
    await kadroviDo(strana, UKUPNO);
    const kasno = await kljucevi(strana);
    const f = (x) => x.toFixed(1).padStart(6);
    console.log(`  ${slucaj}: first picture ${Math.round(prvaSlika)} ms after opening; key's frame, median ms, ` +
                `after 20 / ${UKUPNO} redraws: from the key ${f(rano.odKljuca)} / ${f(kasno.odKljuca)}, ` +
                `work only ${f(rano.rad)} / ${f(kasno.rad)}, page ${f(rano.strana)} / ${f(kasno.strana)}`);
    await strana.close();
  }
  await pregledac.close();
  fs.rmSync(profil, { recursive: true, force: true });
}

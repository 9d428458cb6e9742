// Browser tests of geometrija.html and geometrija-demo.html: the system Chromium,
// headless, driven by puppeteer-core; the native geometrija, under a private
// Xvfb, is what the page must match.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { spawn, execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";
import { PNG } from "pngjs";

const { GEOMETRIJA_HTML: HTML, GEOMETRIJA_DEMO_HTML: DEMO, GEOMETRIJA_NATIVNI: NATIVNI } = process.env;

// Scene units to pixels of the 500 x 500 picture at home position (the view spans 50 tan 30 degrees).
const PO_JEDINICI = 250 / (50 * Math.tan(Math.PI / 6));
const px = (x) => 250 + x * PO_JEDINICI;
const py = (y) => 250 - y * PO_JEDINICI;

let pregledac, profil, xvfb, ekran;
const odlazniZahtevi = [];

before(async () => {
  for (const f of [HTML, DEMO]) assert.ok(f && fs.existsSync(f), `${f} is missing: build it with ./dev.sh web`);
  profil = fs.mkdtempSync(path.join(os.tmpdir(), "geometrija-chromium-"));
  pregledac = await puppeteer.launch({
    executablePath: "/usr/bin/chromium", userDataDir: profil, headless: true,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
           "--disable-component-update", "--disable-sync", "--enable-unsafe-swiftshader"],
  });
  xvfb = spawn("Xvfb", ["-displayfd", "3", "-screen", "0", "640x520x24", "-nolisten", "tcp"],
               { stdio: ["ignore", "ignore", "ignore", "pipe"] });
  ekran = await new Promise((uspeh, neuspeh) => {
    let broj = "";
    xvfb.stdio[3].on("data", (d) => { broj += d; if (broj.includes("\n")) uspeh(":" + broj.trim()); });
    xvfb.on("exit", () => neuspeh(new Error("Xvfb ended before it told its display")));
  });
});

after(async () => {
  await pregledac?.close();
  xvfb?.kill();
  fs.rmSync(profil, { recursive: true, force: true });
  assert.deepEqual(odlazniZahtevi, [], "requests that left the page");
});

// ---- The native program -----------------------------------------------------

// XWD as xwd writes it: a big-endian header, the colour map, then the pixels.
function procitajXwd(b) {
  const h = (i) => b.readUInt32BE(4 * i);
  const [velicinaZaglavlja, sirina, visina, redosled, bajtova, poRedu, boja] = [h(0), h(4), h(5), h(7), h(11) / 8, h(12), h(19)];
  const pocetak = velicinaZaglavlja + 12 * boja;
  const data = Buffer.alloc(sirina * visina * 4);
  for (let y = 0; y < visina; y++)
    for (let x = 0; x < sirina; x++) {
      const i = pocetak + y * poRedu + bajtova * x;
      const v = redosled === 0 ? b.readUIntLE(i, bajtova) : b.readUIntBE(i, bajtova);
      data.set([(v >> 16) & 255, (v >> 8) & 255, v & 255, 255], (y * sirina + x) * 4);
    }
  return { width: sirina, height: visina, data };
}

// What geometrija prints for `odgovori` up to the end of its first frame (or
// its exit), its exit status (null while it runs) and its window's pixels.
async function nativni(odgovori) {
  const program = spawn(NATIVNI, [], { env: { ...process.env, DISPLAY: ekran }, stdio: ["pipe", "pipe", "inherit"] });
  let izlaz = "", status = null;
  program.stdout.on("data", (d) => { izlaz += d; });
  const kraj = new Promise((uspeh) => program.on("exit", (s) => { status = s; uspeh(); }));
  program.stdin.end(odgovori);
  const prviKadar = /Jednacina odbijenog zraka je:[^\n]*\n\n/;
  // Without a figure no frame prints anything: then the output ends when it has been still for a second.
  for (let t = 0, mirno = 0, bilo = ""; t < 100 && status === null && !prviKadar.test(izlaz) && mirno < 10; t++) {
    await new Promise((r) => setTimeout(r, 100));
    mirno = izlaz !== "" && izlaz === bilo ? mirno + 1 : 0;
    bilo = izlaz;
  }
  await new Promise((r) => setTimeout(r, 300));  // the frame's swap follows its printing
  const slika = status === null ? procitajXwd(execFileSync("xwd", ["-root", "-silent", "-display", ekran], { maxBuffer: 1 << 24 })) : null;
  program.kill();
  await kraj;
  const m = prviKadar.exec(izlaz);
  return { tekst: m ? izlaz.slice(0, m.index + m[0].length) : izlaz, status: m ? null : status, slika };
}

// ---- The page ---------------------------------------------------------------

async function otvori(url) {
  const strana = await pregledac.newPage();
  strana.on("request", (z) => { if (!/^(file|data):/.test(z.url())) odlazniZahtevi.push(z.url()); });
  await strana.goto(url);
  return strana;
}
const kadrovi = (strana, n) =>
  strana.waitForFunction((n) => document.getElementById("platno")?.dataset.slike >= n, { timeout: 10000 }, n);
const konzola = (strana) => strana.$eval("#konzola", (e) => e.textContent);
const slika = async (strana) => PNG.sync.read(await (await strana.$("#platno")).screenshot());

// ---- Pixels -----------------------------------------------------------------
const piksel = (s, x, y) => {
  const i = (Math.round(y) * s.width + Math.round(x)) * 4;
  return [s.data[i], s.data[i + 1], s.data[i + 2]];
};
// Coverage of a colour over white: olive (128, 128, 0) and green (0, 128, 0); black counts as none.
const MASLINASTA = ([r, , b]) => (r - b) / 128;
const ZELENA = ([r, g]) => (g - r) / 128;
const CRNA = ([r, g, b]) => (Math.max(r, g, b) < 160 ? 1 : 0);

// The largest coverage of `vrsta` within `poluprecnik` pixels of the scene point (x, y).
function pokrivenost(s, vrsta, x, y, poluprecnik = 1) {
  let najvise = 0;
  for (let dy = -poluprecnik; dy <= poluprecnik; dy++)
    for (let dx = -poluprecnik; dx <= poluprecnik; dx++)
      najvise = Math.max(najvise, vrsta(piksel(s, px(x) + dx, py(y) + dy)));
  return najvise;
}
function ima(s, vrsta, x, y, sta) {
  const c = pokrivenost(s, vrsta, x, y);
  assert.ok(c >= 0.5, `${sta} at (${x.toFixed(2)}, ${y.toFixed(2)}): expected coverage >= 0.5, actual ${c.toFixed(2)}`);
}
// Summed coverage across a horizontal (preko = "x") or vertical line: its width in pixels.
function sirina(s, vrsta, x, y, preko) {
  let zbir = 0;
  for (let d = -4; d <= 4; d++) zbir += vrsta(preko === "x" ? piksel(s, px(x), py(y) + d) : piksel(s, px(x) + d, py(y)));
  return zbir;
}
function prazno(s, x0, y0, x1, y1) {
  for (let y = Math.round(py(y1)); y <= py(y0); y++)
    for (let x = Math.round(px(x0)); x <= px(x1); x++) {
      const p = piksel(s, x, y);
      assert.ok(Math.min(...p) >= 240, `pixel (${x}, ${y}) of the clear region: expected white, actual ${p}`);
    }
}
// Share of the native picture's dark pixels that the page has dark within one pixel.
function slaganje(nat, web) {
  let tamnih = 0, nadjenih = 0;
  for (let y = 1; y < 499; y++)
    for (let x = 1; x < 499; x++) {
      if (Math.min(...piksel(nat, x, y)) >= 200) continue;
      tamnih++;
      let nadjen = false;
      for (let d = 0; d < 9 && !nadjen; d++) nadjen = Math.min(...piksel(web, x + (d % 3) - 1, y + Math.floor(d / 3) - 1)) < 200;
      if (nadjen) nadjenih++;
    }
  return nadjenih / tamnih;
}

// ---- The lessons ------------------------------------------------------------
const hc = Math.sqrt(13), hy = 0.5 * hc, hx = 3 * Math.sqrt(1 + (hy * hy) / 4);  // hyperbola 3, 2: focus, R = (-hx, hy)
const LEKCIJE = {
  elipsa: { odgovori: "1\n5 3\n45\n", provera(s) {
    const [rx, ry] = [5 * Math.SQRT1_2, 3 * Math.SQRT1_2];
    ima(s, MASLINASTA, (rx - 4) / 2, ry / 2, "incident ray");
    ima(s, MASLINASTA, (rx + 4) / 2, ry / 2, "reflected ray");
    ima(s, ZELENA, -10, ry - 0.6 * (-10 - rx), "tangent");
    ima(s, CRNA, -rx, ry, "curve");
    prazno(s, -25, -25, -8, -3);
  } },
  hiperbola: { odgovori: "2\n3 2\n0.5\n1\n", provera(s) {
    ima(s, MASLINASTA, (-hc - hx) / 2, hy / 2, "incident ray");
    ima(s, MASLINASTA, (-2 * hx - hc - hx) / 2, 2 * hy * 0.75, "reflected ray");
    ima(s, CRNA, 10, 20 / 3, "asymptote");
    ima(s, CRNA, 3 * Math.SQRT2, 2, "right branch");
    // The dashed line from R to the right focus: 24 pixels lit, 24 unlit, along x.
    const nagib = -hy / (hc + hx);
    const osvetljeno = (od, doKraja) => {
      let lit = 0;
      for (let k = od; k < doKraja; k++) lit += pokrivenost(s, MASLINASTA, -hx + k / PO_JEDINICI, hy + nagib * k / PO_JEDINICI) >= 0.5;
      return lit / (doKraja - od);
    };
    assert.ok(osvetljeno(3, 21) >= 0.8, `dash: lit share of pixels 3-21 expected >= 0.8, actual ${osvetljeno(3, 21)}`);
    assert.ok(osvetljeno(27, 45) <= 0.2, `gap: lit share of pixels 27-45 expected <= 0.2, actual ${osvetljeno(27, 45)}`);
    prazno(s, -25, -6, -13, -1);
  } },
  parabola: { odgovori: "3\n10\n0.5\n1\n", provera(s) {
    const yp = Math.sqrt(50);
    ima(s, MASLINASTA, 3.75, yp / 2, "incident ray");
    ima(s, MASLINASTA, 15, yp, "reflected ray");
    ima(s, ZELENA, -5, 15, "directrix");
    ima(s, CRNA, 10, Math.sqrt(200), "curve");
    for (const [sta, vrsta, x, y, preko] of [["reflected ray", MASLINASTA, 15, yp, "x"], ["directrix", ZELENA, -5, 15, "y"]]) {
      const w = sirina(s, vrsta, x, y, preko);
      assert.ok(Math.abs(w - 2) <= 0.4, `${sta} width: expected 2 px, actual ${w.toFixed(2)}`);
    }
    prazno(s, -25, 2, -7, 25);
    prazno(s, 6, -9, 25, -2);
  } },
};

for (const [ime, lekcija] of Object.entries(LEKCIJE)) {
  test(`${ime} through ?odgovori=: the native transcript, the picture where the geometry puts it`, async (t) => {
    const nat = await nativni(lekcija.odgovori);
    const strana = await otvori(`file://${HTML}?odgovori=${encodeURIComponent(lekcija.odgovori)}`);
    await kadrovi(strana, 1);
    assert.equal(await konzola(strana), nat.tekst);
    const s = await slika(strana);
    lekcija.provera(s);
    t.diagnostic(`first frame ${Math.round(await strana.evaluate(() => window.geometrijaPrvaSlika))} ms after opening; ` +
                 `native dark pixels matched within 1 px: ${(100 * slaganje(nat.slika, s)).toFixed(1)} %, ` +
                 `page dark pixels matched: ${(100 * slaganje(s, nat.slika)).toFixed(1)} %`);
    await strana.close();
  });
}

test("answers read as one stream, as on a terminal: the native transcript", async () => {
  // 3.7 is the parabola and .7 its p; semi-axes on two lines; blank lines first;
  // text that is not a number stays unread; a wrong choice without a line break.
  for (const odgovori of ["3.7\n0.5\n1\n", "2\n3\n2\n0.5\n1\n", "\n\n1\n5 3\n45\n", "1\n5 abc\n45\n", "4\n", "abc\n"]) {
    const nat = await nativni(odgovori);
    const strana = await otvori(`file://${HTML}?odgovori=${encodeURIComponent(odgovori)}`);
    await kadrovi(strana, 1);
    assert.equal(await konzola(strana), nat.tekst, `answers ${JSON.stringify(odgovori)}`);
    await strana.close();
  }
});

test("a rejected value: its message, and the exit status on the page", async () => {
  const nat = await nativni("3\n10\n-1\n");
  const strana = await otvori(`file://${HTML}?odgovori=3%0A10%0A-1%0A`);
  await strana.waitForFunction(() => document.body.dataset.status !== undefined);
  assert.equal(await konzola(strana), nat.tekst);
  assert.equal(await strana.$eval("body", (b) => Number(b.dataset.status)), nat.status);
  assert.match(await strana.$eval("#stanje", (e) => e.textContent), /zavrsen, izlazni status 3/);
  await strana.close();
});

test("a typed dialogue reaches the same transcript; A pans and prints again; Q ends", async () => {
  const nat = await nativni("1\n5 3\n45\n");
  const strana = await otvori(`file://${HTML}`);
  for (const [poziv, red] of [["za parabolu.", "1"], ["po x i y osi!", "5 3"], ["360 stepeni!:", "45"]]) {
    await strana.waitForFunction((t) => document.getElementById("konzola").textContent.endsWith(t + "\n"), {}, poziv);
    await strana.type("#unos", red + "\n");
  }
  await kadrovi(strana, 1);
  assert.equal(await konzola(strana), nat.tekst);
  assert.deepEqual(await strana.$$eval(".odjek", (o) => o.map((e) => e.dataset.tekst)), ["1\n", "5 3\n", "45\n"]);

  await strana.keyboard.press("a");
  await kadrovi(strana, 2);
  const jednacine = nat.tekst.slice(nat.tekst.indexOf("Jednacina zraka"));
  assert.equal(await konzola(strana), nat.tekst + jednacine);
  const s = await slika(strana);
  ima(s, CRNA, 1, -15, "the y axis one unit right");
  prazno(s, -0.4, -16, 0.4, -14);

  await strana.keyboard.press("q");
  await strana.waitForFunction(() => document.body.dataset.status === "0");
  assert.equal(await strana.$("#platno"), null);
  await strana.close();
});

test("the demonstration asks and prints nothing and shows its fixed parabola", async () => {
  const strana = await otvori(`file://${DEMO}?odgovori=3%0A`);
  await kadrovi(strana, 1);
  assert.equal(await konzola(strana), "");
  const s = await slika(strana);
  ima(s, MASLINASTA, 5, -5, "incident ray");
  ima(s, MASLINASTA, 15, -10, "reflected ray");
  prazno(s, 6, 2, 25, 9);
  await strana.close();
});

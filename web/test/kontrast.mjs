// Contrast of what the picture draws with its white background, read off the
// page's own pixels. Not a test: run it by hand after ./dev.sh web,
//
//   node web/test/kontrast.mjs [build-web/geometrija.html]
//
// For each lesson in docs/lekcije/ and each element of its picture it opens the
// lesson link in headless Chromium, without and with ?projektor=1, and takes
// the darkest pixel of the element's colour alone within 2 pixels of points on
// it, away from the other elements. Smoothed edges are lighter than the colour
// drawn, so the darkest pixel is that colour, or as near to it as a line one
// pixel wide comes. Prints a Markdown table of the WCAG contrast ratios (the
// one in docs/web.md), each element's drawn colour beside what the screen shows.
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";
import { PNG } from "pngjs";

const HTML = path.resolve(process.argv[2] ?? "build-web/geometrija.html");
const LEKCIJE = new URL("../../docs/lekcije/", import.meta.url);

// The program's three colours (src/scena.h).
const BOJE = { crna: [0, 0, 0], maslinasta: [0.5, 0.5, 0], zelena: [0, 0.5, 0] };

// Whether a pixel is the colour `boja` alone blended over white, to within a
// few levels: where a ray crosses an axis the pixel is darker than either, and
// it is not the ray's colour.
function samo(rgb, boja) {
  const ka = boja.map((c) => 255 * c - 255), od = rgb.map((c) => c - 255);
  const udeo = od.reduce((z, c, i) => z + c * ka[i], 0) / ka.reduce((z, c) => z + c * c, 0);
  return Math.hypot(...od.map((c, i) => c - udeo * ka[i])) < 12;
}

// WCAG 2.2's relative luminance of an sRGB colour with channels 0 to 1.
const linearno = (c) => (c <= 0.04045 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
const luminansa = ([r, g, b]) => 0.2126 * linearno(r) + 0.7152 * linearno(g) + 0.0722 * linearno(b);
const odnos = (a, b) => { const [x, y] = [luminansa(a), luminansa(b)].sort((p, q) => q - p); return (x + 0.05) / (y + 0.05); };

// Points of a segment, at the given shares of its length.
const duz = ([x1, y1], [x2, y2], udeli = [0.3, 0.5, 0.7]) => udeli.map((t) => [x1 + t * (x2 - x1), y1 + t * (y2 - y1)]);
const OSE = { ime: "axes", boja: "crna", tacke: [[-20, 0], [20, 0], [0, -20], [0, 20]] };

// Where each lesson's elements are, in scene units, from its answers.
function elipsa() {  // 1 / 5 3 / 45
  const [a, b, c] = [5, 3, 4], R = [a * Math.SQRT1_2, b * Math.SQRT1_2];
  const tangenta = (x) => [x, R[1] - (b * b * R[0]) / (a * a * R[1]) * (x - R[0])];
  return [
    { ime: "curve", boja: "crna", tacke: [120, 150, 210, 240, 300].map((u) => [a * Math.cos(u * Math.PI / 180), b * Math.sin(u * Math.PI / 180)]) },
    { ime: "foci (on the x axis)", boja: "crna", tacke: [[-c, 0], [c, 0]] },
    { ime: "incident ray", boja: "maslinasta", tacke: duz([-c, 0], R) },
    { ime: "reflected ray", boja: "maslinasta", tacke: duz(R, [c, 0]) },
    { ime: "tangent", boja: "zelena", tacke: [-15, -10, 15].map(tangenta) },
    OSE,
  ];
}
function hiperbola() {  // 2 / 3 2 / 0.5 / 1
  const [a, b, c] = [3, 2, Math.sqrt(13)], k = b / a;
  const R = [-a * Math.sqrt(1 + (0.5 * c) ** 2 / (b * b)), 0.5 * c];
  const daljeOd = (t) => [R[0] + t * (R[0] - c), R[1] + t * R[1]];  // on from R, away from the right focus
  const grana = (y) => a * Math.sqrt(1 + (y * y) / (b * b));
  // The dashed line's first dash: 24 pixels lit from R, measured along x.
  const crtica = [6, 12, 18].map((px) => { const dx = px / pogled(500).k; return [R[0] + dx, R[1] - (R[1] / (c - R[0])) * dx]; });
  return [
    { ime: "curve", boja: "crna", tacke: [[grana(2), 2], [grana(-2), -2], [-grana(-2), -2]] },
    { ime: "foci (on the x axis)", boja: "crna", tacke: [[-c, 0], [c, 0]] },
    { ime: "incident ray", boja: "maslinasta", tacke: duz([-c, 0], R) },
    { ime: "reflected ray", boja: "maslinasta", tacke: [0.3, 0.5, 0.7].map(daljeOd) },
    { ime: "dashed line", boja: "maslinasta", tacke: crtica },
    { ime: "asymptotes", boja: "crna", tacke: [[5, 5 * k], [5, -5 * k], [-5, -5 * k]] },
    { ime: "rectangle", boja: "crna", tacke: [[a, 1.5], [a, -1.5], [-a, -1.5]] },
    OSE,
  ];
}
function parabola(p) {  // 3 / p / 0.5 / 1
  const s = Math.sign(p), yp = Math.abs(p) * Math.sqrt(0.5), F = [p / 2, 0], R = [(p / 2) * 0.5, yp];
  return [
    { ime: "curve", boja: "crna", tacke: [[10 * s, Math.sqrt(200)], [10 * s, -Math.sqrt(200)], [5 * s, -10]] },
    { ime: "focus (on the x axis)", boja: "crna", tacke: [F] },
    { ime: "incident ray", boja: "maslinasta", tacke: duz(F, R) },
    { ime: "reflected ray", boja: "maslinasta", tacke: [10, 15, 20].map((x) => [x * s, yp]) },
    { ime: "directrix", boja: "zelena", tacke: [[-p / 2, 15], [-p / 2, 5], [-p / 2, -15]] },
    OSE,
  ];
}
const ELEMENTI = {
  "elipsa.txt": elipsa, "hiperbola.txt": hiperbola,
  "parabola.txt": () => parabola(10), "parabola-negativno-p.txt": () => parabola(-10),
};

// Scene units to the pixels of a square picture: 50 tan 30 degrees either side of the centre.
function pogled(strana) {
  const k = strana / 2 / (50 * Math.tan(Math.PI / 6));
  return { k, px: (x) => strana / 2 + x * k, py: (y) => strana / 2 - y * k };
}

function najtamniji(s, boja, tacke) {
  const v = pogled(s.width);
  let najbolji = null;
  for (const [x, y] of tacke)
    for (let dy = -2; dy <= 2; dy++)
      for (let dx = -2; dx <= 2; dx++) {
        const i = (Math.round(v.py(y)) + dy) * s.width + Math.round(v.px(x)) + dx;
        const rgb = [s.data[4 * i], s.data[4 * i + 1], s.data[4 * i + 2]];
        if (Math.min(...rgb) < 250 && samo(rgb, BOJE[boja]) && (!najbolji || luminansa(rgb.map((c) => c / 255)) < luminansa(najbolji.map((c) => c / 255))))
          najbolji = rgb;
      }
  return najbolji;
}

const heks = (rgb) => "#" + rgb.map((c) => c.toString(16).padStart(2, "0")).join("");
const profil = fs.mkdtempSync(path.join(os.tmpdir(), "geometrija-kontrast-"));
const pregledac = await puppeteer.launch({ executablePath: "/usr/bin/chromium", userDataDir: profil, headless: true,
  args: ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--enable-unsafe-swiftshader"] });
const redovi = [], niski = [];
try {
  for (const [datoteka, elementi] of Object.entries(ELEMENTI)) {
    const odgovori = fs.readFileSync(new URL(datoteka, LEKCIJE), "utf8");
    const merenja = {};
    for (const projektor of [false, true]) {
      const strana = await pregledac.newPage();
      await strana.setViewport({ width: 1000, height: 700 });
      await strana.goto(`file://${HTML}?odgovori=${encodeURIComponent(odgovori)}${projektor ? "&projektor=1" : ""}`);
      await strana.waitForFunction(() => document.getElementById("platno")?.dataset.slike >= 1, { timeout: 20000 });
      const s = PNG.sync.read(await (await strana.$("#platno")).screenshot({ captureBeyondViewport: false }));
      const pozadina = [0, 1, 2].map((c) => s.data[c] / 255);  // the top left corner: nothing is drawn there
      for (const e of elementi()) {
        const rgb = najtamniji(s, e.boja, e.tacke);
        const r = rgb && odnos(rgb.map((c) => c / 255), pozadina);
        (merenja[e.ime] ??= { boja: e.boja })[projektor] = rgb ? `${heks(rgb)} ${r.toFixed(2)}:1` : "not found";
        if (!rgb || r < 3) niski.push(`${datoteka} ${e.ime}${projektor ? ", projector" : ""}: ${rgb ? r.toFixed(2) + ":1" : "not found"}`);
      }
      await strana.close();
    }
    for (const [ime, m] of Object.entries(merenja)) {
      const nacrtana = BOJE[m.boja];
      redovi.push(`| ${datoteka.replace(".txt", "")} | ${ime} | ${heks(nacrtana.map((c) => Math.round(c * 255)))} ${odnos(nacrtana, [1, 1, 1]).toFixed(2)}:1 | ${m[false]} | ${m[true]} |`);
    }
  }
} finally {
  await pregledac.close();
  fs.rmSync(profil, { recursive: true, force: true });
}
console.log("| lesson | element | drawn colour, ratio | darkest pixel, ratio | with projektor=1 |");
console.log("| --- | --- | --- | --- | --- |");
for (const red of redovi) console.log(red);
console.log(niski.length ? `\nBelow 3:1:\n${niski.map((n) => "- " + n).join("\n")}` : "\nNothing below 3:1.");

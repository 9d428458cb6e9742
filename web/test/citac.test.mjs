// A lesson with a real screen reader: Debian's Orca in its default settings,
// in Firefox ESR, on the X server that privatni-x gives in DISPLAY. What Orca
// says is read from speech-dispatcher's log (level 5), where each text stands
// as it goes to the synthesizer, after the punctuation that Orca's level drops
// is gone. The keys are xdotool's, as a pupil's would be. Every service is this
// test's own (D-Bus, the accessibility bus, speech-dispatcher without a sound
// card, Orca with a fresh settings folder), in a temporary home, stopped by its id.
//
// The words compared are the ones that matter, not Orca's own wording around
// them, so that a newer Orca or Firefox changes little.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { spawn, execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

const { GEOMETRIJA_HTML: HTML, DISPLAY: EKRAN } = process.env;
const GOVOR_POSLE_ODGOVORA = 30;  // s of speech at espeak-ng's default rate, at most

const radna = fs.mkdtempSync(path.join(os.tmpdir(), "geometrija-citac-"));
const okolina = { ...process.env, HOME: path.join(radna, "dom"), XDG_RUNTIME_DIR: path.join(radna, "xdg"),
                  XDG_CONFIG_HOME: path.join(radna, "dom", ".config"), LANG: "C.UTF-8" };
delete okolina.DBUS_SESSION_BUS_ADDRESS;
const procesi = [];
const LOG = path.join(radna, "spd-log", "speech-dispatcher.log");

const cekaj = (ms) => new Promise((r) => setTimeout(r, ms));

// A child of this test, ended by its id (and its own process group's, for a
// browser's content processes) when the test ends or dies.
function pokreni(program, argumenti, opcije = {}) {
  const p = spawn(program, argumenti, { env: okolina, stdio: "ignore", detached: true, ...opcije });
  procesi.push(p);
  return p;
}
// Orca may not end on SIGTERM once its buses are gone: it has two seconds.
const ziv = (p) => p.exitCode === null && p.signalCode === null;
async function zaustavi(p) {
  for (const signal of ["SIGTERM", "SIGKILL"]) {
    if (!ziv(p)) return;
    try { process.kill(-p.pid, signal); } catch { return; }
    await Promise.race([new Promise((r) => p.once("exit", r)), cekaj(2000)]);
  }
}
process.once("exit", () => procesi.filter(ziv).forEach((p) => { try { process.kill(-p.pid, "SIGKILL"); } catch { /* gone */ } }));

// ---- What Orca said ----------------------------------------------------------
// Every text speech-dispatcher was given, in order, as the synthesizer got it.
function receno() {
  const log = fs.existsSync(LOG) ? fs.readFileSync(LOG, "latin1") : "";
  return [...log.matchAll(/unescaped ssml '(.*)' to '<speak>/g)].map((m) => Buffer.from(m[1], "latin1").toString("utf8"));
}

// Waits until some text said after the first `od` contains `reci`, then until
// the log has been still for a second (the speech queued behind it is in).
async function sacekaj(od, reci, rok = 30000) {
  const kraj = Date.now() + rok;
  while (!receno().slice(od).some((t) => t.includes(reci))) {
    assert.ok(Date.now() < kraj, `Orca did not say "${reci}"; it said:\n${receno().slice(od).join("\n")}`);
    await cekaj(200);
  }
  for (let velicina = -1; velicina !== fs.statSync(LOG).size;) {
    velicina = fs.statSync(LOG).size;
    await cekaj(1000);
  }
  return receno().slice(od);
}

// Seconds of speech, each text rendered by espeak-ng at its default rate.
function trajanje(tekstovi) {
  let s = 0;
  for (const tekst of tekstovi) {
    const wav = execFileSync("espeak-ng", ["--stdout", tekst], { maxBuffer: 1 << 26 });
    s += (wav.length - 44) / (wav.readUInt32LE(28));  // data after the header over bytes a second
  }
  return s;
}

// ---- The desktop -------------------------------------------------------------
async function pokreniCitac() {
  for (const d of ["dom/.config", "xdg", "spd-log", "orca"]) fs.mkdirSync(path.join(radna, d), { recursive: true, mode: 0o700 });
  const dbus = pokreni("dbus-daemon", ["--session", "--nofork", "--print-address=1"], { stdio: ["ignore", "pipe", "ignore"] });
  okolina.DBUS_SESSION_BUS_ADDRESS = await new Promise((r) => dbus.stdout.once("data", (d) => r(String(d).trim())));
  pokreni("/usr/libexec/at-spi-bus-launcher", ["--launch-immediately"]);
  // The bus starts the launcher itself if this comes first.
  execFileSync("dbus-send", ["--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties.Set",
    "string:org.a11y.Status", "string:IsEnabled", "variant:boolean:true"], { env: okolina, stdio: "ignore" });
  // Debian's configuration (its symbol tables decide what a punctuation level
  // drops), with the log at level 5, no sound card and espeak-ng.
  const spd = path.join(radna, "spd");
  fs.cpSync("/etc/speech-dispatcher", spd, { recursive: true });
  const conf = fs.readFileSync(path.join(spd, "speechd.conf"), "utf8").replace(/^\s*(LogLevel|LogDir)\b.*$/gm, "");
  fs.writeFileSync(path.join(spd, "speechd.conf"), `${conf}\nLogLevel 5\nLogDir "${path.dirname(LOG)}"\n` +
    `AudioOutputMethod "alsa"\nAudioALSADevice "null"\nDefaultModule espeak-ng\n`);
  pokreni("speech-dispatcher", ["--run-single", "--timeout", "0", "--config-dir", spd]);
  await cekaj(500);
  pokreni("orca", ["--replace", "-u", path.join(radna, "orca")]);
  await sacekaj(0, "Screen reader on");
}

// Each browser with a fresh profile, its accessibility on and no first-run pages.
const PREGLEDACI = {
  "Firefox ESR": (profil, adresa) => {
    fs.writeFileSync(path.join(profil, "user.js"), Object.entries({ "accessibility.force_disabled": -1,
      "browser.shell.checkDefaultBrowser": false, "browser.startup.homepage_override.mstone": '"ignore"',
      "browser.aboutwelcome.enabled": false, "datareporting.policy.dataSubmissionEnabled": false,
    }).map(([k, v]) => `user_pref("${k}", ${v});\n`).join(""));
    return pokreni("firefox-esr", ["--no-remote", "-profile", profil, adresa]);
  },
  Chromium: (profil, adresa) => pokreni("chromium", ["--no-sandbox", `--user-data-dir=${profil}`, "--no-first-run",
    "--force-renderer-accessibility", "--disable-gpu", "--enable-unsafe-swiftshader", adresa]),
};

// What is said after `radnja` (a page opened, keys typed), once `reci` are among it.
let pregledac = null;
async function posle(radnja, reci) {
  const od = receno().length;
  await radnja();
  return sacekaj(od, reci);
}
const otvori = (ime, adresa) => async () => {
  if (pregledac) await zaustavi(pregledac);
  pregledac = PREGLEDACI[ime](fs.mkdtempSync(path.join(radna, "profil-")), adresa);
};
const xdotool = (...argumenti) => execFileSync("xdotool", argumenti, { env: okolina });
const otkucaj = (red) => async () => { xdotool("type", "--delay", "60", red); xdotool("key", "Return"); };
// Each of `reci` in exactly `puta` of the texts.
const jednom = (tekstovi, reci, puta = 1) => reci.forEach((r) =>
  assert.equal(tekstovi.filter((t) => t.includes(r)).length, puta, `"${r}" ${puta} times; said:\n${tekstovi.join("\n")}`));

before(async () => {
  assert.ok(HTML && fs.existsSync(HTML), `${HTML} is missing: build it with ./dev.sh web`);
  assert.ok(EKRAN, "no DISPLAY: run the test under privatni-x (ctest does)");
  await pokreniCitac();
});

after(async () => {
  for (const p of procesi.reverse()) await zaustavi(p);
  fs.rmSync(radna, { recursive: true, force: true });
});

const OPIS_ELIPSE = "Elipsa x na kvadrat kroz 25 plus y na kvadrat kroz 9 jednako 1";

for (const ime of Object.keys(PREGLEDACI)) {
  test(`${ime}: a typed lesson heard once a picture, its keys reach the program, Q gives the button`, async () => {
    await posle(otvori(ime, `file://${HTML}`), "Pritisnite 1 za elipsu");
    xdotool("mousemove", "200", "200");  // into the window; no windowfocus from here on
    await posle(otkucaj("1"), "Unesite vrednosti za poluprecnike elipse");
    await posle(otkucaj("5 3"), "Unesite ugao za odbijanje zraka");
    let receno = await posle(otkucaj("45"), "Odbijeni zrak");
    jednom(receno, [OPIS_ELIPSE, "Zrak: y jednako 0,28 puta x plus 1,13", "Odbijeni zrak: y jednako minus 4,57 puta x plus 18,27"]);
    jednom(receno, ["Konzola"], 0);
    const sekundi = trajanje(receno);
    console.log(`speech after the last answer: ${sekundi.toFixed(1)} s`);
    assert.ok(sekundi <= GOVOR_POSLE_ODGOVORA, `${sekundi} s of speech after the last answer:\n${receno.join("\n")}`);
    jednom(await posle(async () => xdotool("key", "a"), "pomerena za 1 udesno"), ["pomerena za 1 udesno"]);
    receno = await posle(async () => xdotool("key", "q"), "pokrenite ponovo");
    const kraj = "Program je zavrsen, izlazni status 0", sve = receno.join("\n");
    jednom(receno, [kraj]);
    assert.ok(sve.indexOf(kraj) < sve.lastIndexOf("pokrenite ponovo"), `the end message, then the button; said:\n${sve}`);
  });

  test(`${ime}: a lesson link speaks its picture once and reads nothing else of the page`, async () => {
    const receno = await posle(otvori(ime, `file://${HTML}?odgovori=${encodeURIComponent("1\n5 3\n45\n")}`), "Odbijeni zrak");
    jednom(receno, [OPIS_ELIPSE]);
    jednom(receno, ["Pritisnite 1 za elipsu", "Kada se pojavi slika", "Jednacina zraka je:y"], 0);
  });
}

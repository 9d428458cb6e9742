// The page around the program: the console panel, the input line, the canvas
// with its on-screen keys, and the runs of the program. Runs after the module
// factory `Geometrija`.
//
// Waiting for an answer. On a terminal scanf blocks until a line is entered; a
// page that blocked would freeze. The dialogue is deterministic, so each run
// takes the lines entered so far, as a terminal would hand them over, one line
// per read; when it asks for more than there are, the run is dropped where it
// stands (tokovi.js) and the page shows what it printed. The next line entered
// starts a fresh run on all the lines, which prints the same text up to that
// point and goes on. The run that reaches the main loop, or ends, is the one
// that stays. (Asyncify would suspend the read instead, at the cost of a larger,
// slower program; nothing here needs a run to survive a wait.)
//
// A dropped run must leave nothing behind: the listeners its GLUT put on the
// window and the document hold its whole instance, so every listener a run adds
// there is noted and taken off again when the run goes (ukloni).
//
// What a screen reader hears. A screen reader in browse mode takes the
// program's letters for its own page navigation; inside a toolbar it hands
// them to the page. So while the picture is shown, the picture and its
// on-screen keys are one toolbar, and the picture, an image with a fixed name,
// takes the focus; before that the input line has it, so that a lesson link's
// page is not read aloud whole as it loads. The console is not a live region,
// since a held key redraws 30 times a second and each frame prints its
// equations again. One polite announcer (#najava) says instead, once the keys
// have stopped, what the picture shows (the program's description, opisSlike)
// and that frame's equations, in words (the program's izgovori: a screen reader
// drops = * + and the like from what a live region says); and, in the dialogue,
// each new question. At the end the focus goes to the button that starts the
// program again.
(function () {
  "use strict";
  const $ = (id) => document.getElementById(id);
  const konzola = $("konzola"), unos = $("unos"), stanje = $("stanje");
  const prozor = $("prozor"), slika = $("slika"), tasteri = $("tasteri");
  let najava = $("najava");

  // The panel keeps this many lines; older ones go, whole writes at a time, so
  // a frame costs the same after hours of panning as after the first minute.
  const GRANICA_REDOVA = 500;
  $("granica").textContent = GRANICA_REDOVA;
  // A held pan button repeats as a held key does.
  const ZADRSKA_PONAVLJANJA = 400, RAZMAK_PONAVLJANJA = 33;  // ms
  const UZORAKA_U_SEKUNDI = 44100;  // the program's sound (zvuk.h)
  // The picture is announced once it has been still this long: longer than the
  // pause between a held key's repeats, short enough to follow the last key.
  const SMIRIVANJE = 500;  // ms
  // Short names: a screen reader says both each time the picture takes the focus.
  const OKO_SLIKE = { "#prozor": ["toolbar", "Program"], "#slika": ["img", "Slika"] };

  // Every line entered so far, each with its line break. A lesson's answers
  // (?odgovori=) come first, as if typed; text after their last line break is
  // left in the input line, not yet entered.
  const parametri = new URLSearchParams(location.search);
  const redovi = [];
  const odgovori = parametri.get("odgovori");
  if (odgovori !== null) {
    const delovi = odgovori.split("\n");
    unos.value = delovi.pop();
    for (const red of delovi) redovi.push(red + "\n");
  }
  let projektor = parametri.get("projektor") === "1";

  let tekuca = null;     // the latest run
  let prikazana = null;  // the run on the page

  // ---- Listeners of a run ----------------------------------------------------
  // The page adds its own before the first run, so only a run's are noted:
  // each with the run that is current when it is added. Only one run starts at
  // a time (the next one waits for its answer), and a dropped run runs no more
  // code.
  for (const cilj of [window, document]) {
    const dodaj = cilj.addEventListener;
    cilj.addEventListener = function (vrsta, slusalac, opcije) {
      if (tekuca) tekuca.slusaoci.push([cilj, vrsta, slusalac, opcije]);
      return dodaj.call(cilj, vrsta, slusalac, opcije);
    };
  }

  function ukloni(izvedba) {
    for (const [cilj, vrsta, slusalac, opcije] of izvedba.slusaoci) cilj.removeEventListener(vrsta, slusalac, opcije);
    izvedba.slusaoci = [];
    const kontekst = izvedba.modul && izvedba.modul.ctx;
    const gubitak = kontekst && kontekst.getExtension("WEBGL_lose_context");
    if (gubitak) gubitak.loseContext();  // the context is freed at once, not at the next collection
    izvedba.platno.remove();
    izvedba.modul = null;
    izvedba.tasteri = null;
  }

  // ---- The console panel -----------------------------------------------------
  const brojRedova = (tekst) => tekst.split("\n").length - 1;

  // Appends a node with its text to the run's output, and on the page keeps the
  // panel within its lines and scrolled to the end.
  function dodaj(izvedba, cvor, tekst) {
    izvedba.cilj.appendChild(cvor);
    izvedba.delovi.push([cvor, brojRedova(tekst)]);
    izvedba.redova += brojRedova(tekst);
    if (izvedba.cilj !== konzola) return;
    let skraceno = false;
    while (izvedba.redova > GRANICA_REDOVA && izvedba.delovi.length > 1) {
      const [stari, n] = izvedba.delovi.shift();
      stari.remove();
      izvedba.redova -= n;
      skraceno = true;
    }
    if (skraceno && !konzola.dataset.skraceno) konzola.dataset.skraceno = `(starije linije su uklonjene: konzola cuva poslednjih ${GRANICA_REDOVA} redova)\n`;
    konzola.scrollTop = konzola.scrollHeight;
  }

  // What the run wrote since the last time, as one text node. Text that starts
  // a line goes into a block of its own, so the panel lays out only the new
  // lines and not every line it keeps; the text is the same either way.
  function isprazni(izvedba) {
    if (izvedba.naCekanju === "") return;
    const tekst = izvedba.naCekanju;
    izvedba.naCekanju = "";
    let cvor = document.createTextNode(tekst);
    if (izvedba.naPocetkuReda) {
      const blok = document.createElement("div");
      blok.appendChild(cvor);
      cvor = blok;
    }
    izvedba.naPocetkuReda = tekst.endsWith("\n");
    dodaj(izvedba, cvor, tekst);
  }

  // ---- The announcer ------------------------------------------------------------
  let tajmerNajave = null;

  // The same text again is not said again: a pan back to where the picture
  // was, or R at home, changes nothing.
  function najavi(tekst) {
    clearTimeout(tajmerNajave);
    if (tekst !== najava.textContent) najava.textContent = tekst;
  }

  // The picture of a run on the page, announced once it stops changing.
  function smiri(izvedba) {
    clearTimeout(tajmerNajave);
    tajmerNajave = setTimeout(function () {
      if (izvedba !== prikazana || !izvedba.modul || izvedba.status !== null) return;
      const tekst = [izvedba.opis, izvedba.jednacine.trim()].filter(Boolean).join("\n");
      najavi(izvedba.modul.ccall("izgovori", "string", ["string"], [tekst]));
    }, SMIRIVANJE);
  }

  // ---- A run -----------------------------------------------------------------
  function pokreni() {
    const izvedba = {
      cilj: document.createElement("div"),  // the panel's text, until the run is shown
      delovi: [],
      redova: 0,
      naCekanju: "",
      naPocetkuReda: true,
      odPoslednjeg: "",  // written since the last read or frame: a new question, a frame's equations
      jednacine: "",     // the last frame's
      opis: "",          // the last frame's, from the program
      dekoder: new TextDecoder(),
      procitano: 0,  // lines handed to this run
      platno: document.createElement("canvas"),
      modul: null,
      slusaoci: [],
      tasteri: null,
      puta: 1,       // line widths and point sizes drawn times this
      slike: 0,
      status: null,
      ceka: false,
      petlja: false,
    };
    izvedba.platno.style.visibility = "hidden";  // until its first frame, as a window not yet drawn
    izvedba.platno.setAttribute("aria-hidden", "true");  // the region around it speaks for it
    // In the page from the start, though hidden, and never a child of the
    // element in full screen: Emscripten takes a canvas whose parent is that
    // element (or null, as no element is) for its own full screen and scales it.
    izvedba.platno.hidden = true;
    slika.appendChild(izvedba.platno);
    tekuca = izvedba;

    let zakazano = false;
    Geometrija({
      canvas: izvedba.platno,
      // The site's pages name their WebAssembly file (sajt/sajt.cmake); a
      // single-file page has it inside and asks for none.
      locateFile: function (ime, mapa) { return mapa + (document.documentElement.dataset.wasm || ime); },
      pisi: function (bajtovi) {
        const tekst = izvedba.dekoder.decode(bajtovi, { stream: true });
        izvedba.naCekanju += tekst;
        izvedba.odPoslednjeg += tekst;
        // Shown with the frame, the next read or the end; or else once the
        // code that wrote it is done.
        if (!zakazano) {
          zakazano = true;
          queueMicrotask(function () { zakazano = false; isprazni(izvedba); });
        }
      },
      procitajRed: function () {
        if (izvedba.procitano === redovi.length) return null;
        const red = redovi[izvedba.procitano++];
        // The echo goes where the terminal would show it: after what the
        // program had written when it read the line.
        isprazni(izvedba);
        const odjek = document.createElement("span");
        odjek.className = "odjek";
        odjek.dataset.tekst = red;
        dodaj(izvedba, odjek, red);
        izvedba.naPocetkuReda = true;
        izvedba.odPoslednjeg = "";
        return red;
      },
      tasteri: function (dole, gore) { izvedba.tasteri = { dole, gore }; },
      nemaWebGL: function () { poruka(PORUKA_BEZ_WEBGL); },
      slikaGotova: function () {
        isprazni(izvedba);
        izvedba.jednacine = izvedba.odPoslednjeg;
        izvedba.odPoslednjeg = "";
        smiri(izvedba);
        if (++izvedba.slike === 1) {
          izvedba.platno.style.visibility = "visible";
          tasteri.hidden = false;
          window.geometrijaPrvaSlika = performance.now();
        }
        izvedba.platno.dataset.slike = izvedba.slike;
      },
      // What the picture shows, in words, given just before slikaGotova.
      opisSlike: function (tekst) { izvedba.opis = String(tekst); },
      zavrsen: function (status) {
        izvedba.status = status;
        if (izvedba.cilj === konzola) zavrsena(izvedba);
      },
      print: function () {},
      printErr: function () {},
    }).then(function (modul) {
      izvedba.modul = modul;
      try {
        modul.callMain([]);
      } catch (e) {
        if (!(e && e.cekaUnos)) return neuspeh(izvedba, e);
        izvedba.ceka = true;
      }
      prikazi(izvedba);
    }, function (e) {
      neuspeh(izvedba, e);
    });
  }

  // Puts the run on the page in place of the one before it.
  function prikazi(izvedba) {
    isprazni(izvedba);
    konzola.replaceChildren(...izvedba.delovi.map((d) => d[0]));
    delete konzola.dataset.skraceno;
    izvedba.cilj = konzola;
    konzola.scrollTop = konzola.scrollHeight;
    if (prikazana && prikazana !== izvedba) ukloni(prikazana);
    prikazana = izvedba;
    if (izvedba.status !== null) {
      zavrsena(izvedba);
    } else if (izvedba.ceka) {
      unos.disabled = false;
      ocistiUnos();
      unos.focus();
      najavi(izvedba.odPoslednjeg.trim());  // the question it waits on
      if (izvedba.procitano < redovi.length) pokreni();  // lines entered while it started
    } else {
      // The main loop: no more reading; the first frame follows.
      izvedba.petlja = true;
      izvedba.platno.hidden = false;
      izvedba.platno.id = "platno";
      // Named before it takes the focus, so that the focus finds it whole.
      for (const [izbor, [uloga, ime]] of Object.entries(OKO_SLIKE)) {
        document.querySelector(izbor).setAttribute("role", uloga);
        document.querySelector(izbor).setAttribute("aria-label", ime);
      }
      slika.tabIndex = 0;
      slika.focus({ preventScroll: true });  // before the input line it leaves goes grey
      unos.disabled = true;
      pustiTastere(izvedba);
      uskladi();
    }
  }

  function zavrsena(izvedba) {
    isprazni(izvedba);
    ukloni(izvedba);  // the window closes with the program
    tasteri.hidden = true;
    unos.disabled = true;
    kraj("Program je zavrsen, izlazni status " + izvedba.status + ".", izvedba.odPoslednjeg);
    document.body.dataset.status = izvedba.status;
  }

  // A run that could not start, or stopped on an error of its own.
  function neuspeh(izvedba, greska) {
    if (izvedba.status !== null) return;  // ended by exit: already said
    // Emscripten's advice to its developers is no help to a teacher.
    const opis = String(greska && greska.message || greska).replace(/ Build with .*$/, "");
    isprazni(izvedba);
    // What it printed, if anything; else the panel keeps the run before it.
    if (izvedba.cilj !== konzola && izvedba.delovi.length > 0) konzola.replaceChildren(...izvedba.delovi.map((d) => d[0]));
    ukloni(izvedba);
    if (prikazana && prikazana !== izvedba) ukloni(prikazana);
    tasteri.hidden = true;
    unos.disabled = true;
    // The site's copy could not give the program, and the server could not either.
    const kopija = navigator.serviceWorker?.controller && /fetch|wasm|network/i.test(opis);
    poruka((kopija ? PORUKA_OSTECENA_KOPIJA : PORUKA_NEUSPEH) + opis);
    kraj("Program nije mogao da se pokrene ili je prekinut greskom: " + opis.replace(/\.?$/, "."));
    document.body.dataset.greska = opis;
  }

  // `ispis`: what the program wrote last, its reason for stopping, if any.
  // The picture's toolbar goes with the window. The focus, which was on the
  // picture or in the input line, goes to the button that starts the program
  // again, named by the announcement (unseen) and its own text: a screen reader
  // says the end, then the button, once, since the announcer is quiet from here on.
  function kraj(tekst, ispis = "") {
    if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
    // The announcer is replaced by a quiet copy that holds the end: removed, a
    // live region says nothing, and a browser may still take a changed one for live.
    clearTimeout(tajmerNajave);
    const tiha = najava.cloneNode(false);
    tiha.removeAttribute("role");
    tiha.textContent = [ispis.trim(), tekst].filter(Boolean).join("\n");
    najava.replaceWith(tiha);
    najava = tiha;
    stanje.textContent = tekst + " Za novo pokretanje osvezite stranicu (F5) ili ";
    const dugme = document.createElement("button");
    dugme.id = "ponovo";
    const zasto = dugme.appendChild(document.createElement("span"));
    zasto.className = "nevidljivo";
    zasto.textContent = tiha.textContent + " ";
    dugme.append("pokrenite ponovo");
    dugme.addEventListener("click", function () { location.reload(); });
    stanje.appendChild(dugme);
    // Once the browser knows the button; the picture's toolbar goes after the
    // focus has left it, so the focus never falls back to the page.
    setTimeout(function () {
      dugme.focus();
      for (const izbor of Object.keys(OKO_SLIKE))
        for (const ime of ["role", "aria-label", "tabindex"]) document.querySelector(izbor).removeAttribute(ime);
    }, 0);
  }

  // ---- Messages in the picture's place ---------------------------------------
  const PORUKA_BEZ_WEBGL =
    "Slika ne moze da se nacrta: ovaj pregledac ne daje stranici WebGL.\n" +
    "WebGL je iskljucen, nema graficke kartice ili je njen upravljacki program blokiran.\n" +
    "Pokusajte: u podesavanjima pregledaca ukljucite hardversko ubrzanje " +
    "(Firefox: Podesavanja, Opste, Performanse; Chrome i Edge: Podesavanja, Sistem), " +
    "pa osvezite stranicu; ili otvorite stranicu u drugom pregledacu (Firefox, Chrome, Edge, Safari).";
  const PORUKA_NEUSPEH =
    "Program nije mogao da se pokrene.\n" +
    "Osvezite stranicu (F5); ako ni tada ne krene, zatvorite druge kartice ili otvorite stranicu " +
    "u drugom pregledacu.\nGreska: ";

  const PORUKA_OSTECENA_KOPIJA =
    "Program nije mogao da se pokrene: njegova sacuvana kopija na ovom uredjaju je ostecena ili nepotpuna.\n" +
    "Server sada nije dostupan, pa ispravna kopija ne moze da se preuzme. Kada se uredjaj ponovo poveze " +
    "sa mrezom, osvezite stranicu (F5): ispravna kopija se tada preuzima sama.\nGreska: ";

  function poruka(tekst) {
    const [naslov, ...pasusi] = tekst.split("\n");
    const okvir = document.createElement("div");
    okvir.id = "poruka";
    okvir.setAttribute("role", "alert");
    const h = document.createElement("h2");
    h.textContent = naslov;
    okvir.appendChild(h);
    for (const pasus of pasusi) okvir.appendChild(document.createElement("p")).textContent = pasus;
    $("poruka")?.remove();
    slika.appendChild(okvir);
  }

  // ---- Keys ------------------------------------------------------------------
  // The program's keys work wherever the focus is, except in the input line.
  // Tab moves the focus, and Enter and Space press the focused button, as
  // anywhere; Esc in full screen belongs to the browser, which leaves it.
  function pustiTastere(izvedba) {
    if (!izvedba.tasteri) return;
    const propusti = (slusalac) => function (d) {
      if (d.target === unos || d.key === "Tab") return;
      if ((d.key === "Enter" || d.key === " ") && d.target instanceof HTMLButtonElement) return;
      if (d.key === "Escape" && document.fullscreenElement) return;
      slusalac(d);
    };
    window.addEventListener("keydown", propusti(izvedba.tasteri.dole), true);
    window.addEventListener("keyup", propusti(izvedba.tasteri.gore), true);
  }

  // An on-screen key: the program's keyboard callback, exactly as for the key.
  function pritisni(kod) {
    const izvedba = prikazana;
    if (!izvedba || !izvedba.petlja || izvedba.status !== null || !izvedba.modul) return;
    try {
      izvedba.modul._pritisniTaster(kod);
    } catch (e) {
      if (!(e && e.name === "ExitStatus")) throw e;  // Q: the end is already shown
    }
  }

  for (const dugme of tasteri.querySelectorAll("[data-taster]")) {
    const kod = dugme.dataset.taster.charCodeAt(0);
    const ponavlja = "adsw".includes(dugme.dataset.taster);
    let tajmer = null;
    const pusti = function () { clearTimeout(tajmer); clearInterval(tajmer); tajmer = null; };
    dugme.addEventListener("pointerdown", function (d) {
      if (d.button !== 0) return;
      d.preventDefault();  // no focus taken, no text selected, no mouse events made up from a touch
      dugme.setPointerCapture(d.pointerId);
      pusti();
      pritisni(kod);
      if (ponavlja) tajmer = setTimeout(function () { tajmer = setInterval(pritisni, RAZMAK_PONAVLJANJA, kod); }, ZADRSKA_PONAVLJANJA);
    });
    for (const vrsta of ["pointerup", "pointercancel", "lostpointercapture"]) dugme.addEventListener(vrsta, pusti);
    // Enter and Space on the focused button, and assistive technology, click
    // without a pointer; a pointer's click has been pressed on pointerdown.
    dugme.addEventListener("click", function (d) { if (d.detail === 0 && !d.pointerType) pritisni(kod); });
  }

  // ---- The picture's sound ----------------------------------------------------
  // Z and the button play the picture as it is now, the samples the program
  // computes (zvuk.h), as geometrija-slika writes them; pressed again while it
  // plays, they stop it. The program gets Z too, and ignores it.
  const dugmeZvuk = $("zvuk");
  let zvuk = null, kontekst = null;  // the source playing, and the browser's audio
  function uzorciSlike(modul) {
    const pocetak = modul._zvukSlike() >> 1;
    return modul.HEAP16.slice(pocetak, pocetak + modul._brojUzoraka());
  }
  function zvuci() {
    if (zvuk) return zvuk.stop();
    const izvedba = prikazana;
    if (!izvedba || !izvedba.petlja || izvedba.status !== null || !izvedba.modul) return;
    const uzorci = uzorciSlike(izvedba.modul);
    if (uzorci.length === 0) return;
    kontekst = kontekst || new AudioContext();
    const bafer = kontekst.createBuffer(2, uzorci.length / 2, UZORAKA_U_SEKUNDI);
    for (let kanal = 0; kanal < 2; ++kanal) {
      const podaci = bafer.getChannelData(kanal);
      for (let i = 0; i < podaci.length; ++i) podaci[i] = uzorci[2 * i + kanal] / 32768;
    }
    zvuk = kontekst.createBufferSource();
    zvuk.buffer = bafer;
    zvuk.connect(kontekst.destination);
    zvuk.onended = function () { zvuk = null; dugmeZvuk.setAttribute("aria-pressed", "false"); };
    dugmeZvuk.setAttribute("aria-pressed", "true");
    zvuk.start();
  }
  dugmeZvuk.addEventListener("click", zvuci);
  window.addEventListener("keydown", function (d) {
    if ((d.key === "z" || d.key === "Z") && !d.repeat && d.target !== unos && prikazana && prikazana.petlja) zvuci();
  }, true);
  window.geometrijaZvuk = () => prikazana && prikazana.modul && Array.from(uzorciSlike(prikazana.modul));  // for the tests

  // ---- The window's size: full screen, the phone's width, the screen's pixels --
  // The canvas has as many pixels as the screen shows of it, and the program
  // gets them as its window's size. At 500 x 500 CSS pixels and one device
  // pixel to each, that is the window it asked for, and nothing is called.
  function uskladi() {
    const izvedba = prikazana;
    if (!izvedba || !izvedba.petlja || izvedba.status !== null || !izvedba.modul) return;
    const okvir = izvedba.platno.getBoundingClientRect();
    if (okvir.width < 1 || okvir.height < 1) return;  // not laid out at the moment: the window keeps its size
    const gustina = window.devicePixelRatio || 1;
    const sirina = Math.round(okvir.width * gustina), visina = Math.round(okvir.height * gustina);
    if (sirina !== izvedba.platno.width || visina !== izvedba.platno.height) izvedba.modul._promeniProzor(sirina, visina);
    const puta = gustina * (projektor ? 2 : 1);
    if (puta !== izvedba.puta) {
      izvedba.puta = puta;
      izvedba.modul._postaviDebljine(puta);
    }
  }
  window.addEventListener("resize", uskladi);
  document.addEventListener("fullscreenchange", uskladi);
  document.addEventListener("webkitfullscreenchange", uskladi);

  const celEkran = $("ceo-ekran");
  if (document.fullscreenEnabled || document.webkitFullscreenEnabled) {
    celEkran.addEventListener("click", function () {
      if (document.fullscreenElement || document.webkitFullscreenElement) {
        (document.exitFullscreen || document.webkitExitFullscreen).call(document);
      } else {
        const zahtev = (prozor.requestFullscreen || prozor.webkitRequestFullscreen).call(prozor);
        if (zahtev) zahtev.catch(function () {});
      }
    });
  } else {
    celEkran.hidden = true;  // a phone's browser that has no full screen for a page
  }

  const dugmeProjektor = $("projektor");
  const prikaziProjektor = () => dugmeProjektor.setAttribute("aria-pressed", String(projektor));
  prikaziProjektor();
  dugmeProjektor.addEventListener("click", function () {
    projektor = !projektor;
    prikaziProjektor();
    uskladi();
  });

  // ---- The input line ----------------------------------------------------------
  // The program's quit exits end in an exception that leaves the key handler.
  window.addEventListener("error", function (dogadjaj) {
    if (dogadjaj.error && dogadjaj.error.name === "ExitStatus") dogadjaj.preventDefault();
  });

  // What was typed after the last line sent stays (a run takes a moment).
  let poslato = "";
  function ocistiUnos() {
    unos.value = unos.value.startsWith(poslato) ? unos.value.slice(poslato.length) : unos.value;
    poslato = "";
  }

  // A new version of the site took over, without this page's program
  // (sajt/prijava.js): the page reloads into it, with every answer entered so
  // far in its address, so nothing typed is lost.
  window.addEventListener("geometrija-nova-verzija", function () {
    const adresa = new URL(location.href);
    ocistiUnos();
    adresa.searchParams.set("odgovori", redovi.join("") + unos.value);
    location.replace(adresa);
  });

  unos.addEventListener("keydown", function (dogadjaj) {
    if (dogadjaj.key !== "Enter") return;
    // The line stays in the input line until the program asks again: cleared now,
    // a screen reader could still be saying it when the picture takes the focus,
    // and would say the input line again after the picture.
    ocistiUnos();  // a line sent before and typed on after is not sent again
    redovi.push(unos.value + "\n");
    poslato = unos.value;
    if (tekuca.ceka) pokreni();
  });

  unos.focus();
  pokreni();
})();

// The page around the program: the console panel, the input line, the canvas,
// and the runs of the program. Runs after the module factory `Geometrija`.
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
(function () {
  "use strict";
  const konzola = document.getElementById("konzola");
  const unos = document.getElementById("unos");
  const stanje = document.getElementById("stanje");
  const prozor = document.getElementById("prozor");

  // Every line entered so far, each with its line break. A lesson's answers
  // (?odgovori=) come first, as if typed; text after their last line break is
  // left in the input line, not yet entered.
  const redovi = [];
  const odgovori = new URLSearchParams(location.search).get("odgovori");
  if (odgovori !== null) {
    const delovi = odgovori.split("\n");
    unos.value = delovi.pop();
    for (const red of delovi) redovi.push(red + "\n");
  }

  let tekuca = null;  // the latest run

  // The program's quit exits end in an exception that leaves the key handler.
  window.addEventListener("error", function (dogadjaj) {
    if (dogadjaj.error && dogadjaj.error.name === "ExitStatus") dogadjaj.preventDefault();
  });

  function pokreni() {
    const izvedba = {
      cilj: document.createElement("div"),  // the panel's text, until the run is shown
      tekst: null,
      dekoder: new TextDecoder(),
      procitano: 0,  // lines handed to this run
      platno: document.createElement("canvas"),
      slike: 0,
      status: null,
      ceka: false,
    };
    izvedba.platno.tabIndex = 0;
    izvedba.platno.style.visibility = "hidden";  // until its first frame, as a window not yet drawn
    izvedba.platno.setAttribute("aria-label", "Slika");
    // In the page from the start, though hidden: Emscripten takes a canvas
    // without a parent for one in full screen and scales it to the screen.
    izvedba.platno.hidden = true;
    prozor.appendChild(izvedba.platno);
    tekuca = izvedba;

    const nastavi = function (cvor) {
      izvedba.cilj.appendChild(cvor);
      if (izvedba.cilj === konzola) konzola.scrollTop = konzola.scrollHeight;
    };
    Geometrija({
      canvas: izvedba.platno,
      pisi: function (bajt) {
        const deo = izvedba.dekoder.decode(Uint8Array.of(bajt), { stream: true });
        if (deo === "") return;
        if (izvedba.tekst === null) {
          izvedba.tekst = document.createTextNode("");
          nastavi(izvedba.tekst);
        }
        izvedba.tekst.data += deo;
        if (izvedba.cilj === konzola) konzola.scrollTop = konzola.scrollHeight;
      },
      procitajRed: function () {
        if (izvedba.procitano === redovi.length) return null;
        const red = redovi[izvedba.procitano++];
        // The echo goes where the terminal would show it: after what the
        // program had written when it read the line.
        const odjek = document.createElement("span");
        odjek.className = "odjek";
        odjek.dataset.tekst = red;
        nastavi(odjek);
        izvedba.tekst = null;
        return red;
      },
      slikaGotova: function () {
        if (++izvedba.slike === 1) {
          izvedba.platno.style.visibility = "visible";
          izvedba.platno.focus();  // the keys belong to the picture now; a hidden canvas takes no focus
          window.geometrijaPrvaSlika = performance.now();
        }
        izvedba.platno.dataset.slike = izvedba.slike;
      },
      zavrsen: function (status) {
        izvedba.status = status;
        if (izvedba.cilj === konzola) zavrsena(izvedba);
      },
      print: function () {},
      printErr: function () {},
    }).then(function (modul) {
      try {
        modul.callMain([]);
      } catch (e) {
        if (!(e && e.cekaUnos)) throw e;
        izvedba.ceka = true;
      }
      prikazi(izvedba);
    });
  }

  // Puts the run on the page in place of the one before it.
  function prikazi(izvedba) {
    konzola.replaceChildren(...izvedba.cilj.childNodes);
    izvedba.cilj = konzola;
    konzola.scrollTop = konzola.scrollHeight;
    for (const staro of prozor.querySelectorAll("canvas")) {
      if (staro === izvedba.platno) continue;
      const kontekst = staro.getContext("webgl");
      const gubitak = kontekst && kontekst.getExtension("WEBGL_lose_context");
      if (gubitak) gubitak.loseContext();  // a dropped run's context is freed at once
      staro.remove();
    }
    if (izvedba.status !== null) {
      zavrsena(izvedba);
    } else if (izvedba.ceka) {
      unos.disabled = false;
      unos.focus();
    } else {
      // The main loop: no more reading; the first frame follows.
      izvedba.platno.hidden = false;
      izvedba.platno.id = "platno";
      unos.disabled = true;
    }
  }

  function zavrsena(izvedba) {
    izvedba.platno.remove();  // the window closes with the program
    unos.disabled = true;
    stanje.textContent = "Program je zavrsen, izlazni status " + izvedba.status +
        ". Za novo pokretanje osvezite stranicu (F5) ili ";
    const dugme = document.createElement("button");
    dugme.textContent = "pokrenite ponovo";
    dugme.addEventListener("click", function () { location.reload(); });
    stanje.appendChild(dugme);
    document.body.dataset.status = izvedba.status;
  }

  unos.addEventListener("keydown", function (dogadjaj) {
    if (dogadjaj.key !== "Enter") return;
    redovi.push(unos.value + "\n");
    unos.value = "";
    if (tekuca.ceka) pokreni();
  });

  pokreni();
})();

// Display lists, as the recorder keeps them: each list holds the calls
// compiled into it, with their numbers, and replays them through the
// recorder's own executor when it is called.
#ifndef GEOMETRIJA_LISTE_H
#define GEOMETRIJA_LISTE_H

#include "snimac.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace snimac {

class DisplayListe {
public:
    // GL's own bound on lists calling lists; deeper calls are ignored, so a
    // list that calls itself ends.
    static constexpr int NAJVECA_DUBINA = 64;

    void pocni(GLuint ime, GLenum rezim)
    {
        snimak_.pozivi.clear();
        snimak_.brojevi.clear();
        snimaSe_ = ime;
        izvrsava_ = rezim == GL_COMPILE_AND_EXECUTE;
    }

    // The new content replaces the old only now: a list called while it is
    // being compiled anew still holds what it held. The old content's memory
    // is kept for the next list compiled.
    void zavrsi()
    {
        if (snimaSe_ == 0)
            return;
        std::shared_ptr<Sadrzaj>& lista = liste_[snimaSe_];
        if (!lista || lista.use_count() > 1)  // being replayed: it stays as it was for that
            lista = std::make_shared<Sadrzaj>();
        lista->pozivi.swap(snimak_.pozivi);
        lista->brojevi.swap(snimak_.brojevi);
        snimaSe_ = 0;
        izvrsava_ = true;
    }

    // Every list forgotten, as if none had been compiled (calling an empty list
    // does what calling none does); their memory is kept for the next ones.
    void zaboravi()
    {
        for (auto& [ime, lista] : liste_)
            if (lista.use_count() == 1) {
                lista->pozivi.clear();
                lista->brojevi.clear();
            } else {
                lista = std::make_shared<Sadrzaj>();
            }
        snimak_.pozivi.clear();
        snimak_.brojevi.clear();
        snimaSe_ = 0;
        izvrsava_ = true;
        dubina_ = 0;
    }

    GLuint snimaSe() const { return snimaSe_; }  // 0 while no list is compiled

    // Records the call while a list is compiled; true when it must not run now.
    // Vertices one after another are kept as one run.
    bool snimi(Ulaz ulaz, const double* brojevi, int n)
    {
        if (snimaSe_ == 0)
            return false;
        const bool teme = ulaz == Ulaz::glVertex2f || ulaz == Ulaz::glVertex3f;
        if (teme && !snimak_.pozivi.empty() && snimak_.pozivi.back().ulaz == ulaz)
            ++snimak_.pozivi.back().broj;
        else
            snimak_.pozivi.push_back(Poziv{ulaz, snimaSe_, static_cast<std::uint32_t>(snimak_.brojevi.size()), 1});
        // One by one: a range insert of two or three numbers costs several
        // times as much, and a frame compiles up to 40000 vertices.
        for (int i = 0; i < n; ++i)
            snimak_.brojevi.push_back(brojevi[i]);
        return !izvrsava_;
    }

    // Runs each call of list `ime` through `izvrsi(ulaz, brojevi, broj)`: a
    // run of `broj` vertices at once, their numbers one after another (2 or 3
    // each), any other call with `broj` 1. A call it makes may compile the same
    // list anew: the replay goes on with what it held.
    template <typename Izvrsi>
    void pozovi(GLuint ime, Izvrsi&& izvrsi)
    {
        const auto lista = liste_.find(ime);
        if (lista == liste_.end() || dubina_ >= NAJVECA_DUBINA)
            return;
        const std::shared_ptr<const Sadrzaj> sadrzaj = lista->second;
        ++dubina_;
        for (const Poziv& p : sadrzaj->pozivi)
            izvrsi(p.ulaz, sadrzaj->brojevi.data() + p.podaci, p.broj);
        --dubina_;
    }

private:
    struct Sadrzaj {
        std::vector<Poziv> pozivi;
        std::vector<double> brojevi;
    };
    std::map<GLuint, std::shared_ptr<Sadrzaj>> liste_;
    Sadrzaj snimak_;
    GLuint snimaSe_ = 0;
    bool izvrsava_ = true;
    int dubina_ = 0;
};

}  // namespace snimac

#endif

// Display lists, for every GL stand-in in the tree: the recorder here and the
// web pages' compatibility layer both keep their lists with this one class.
// A list holds the calls compiled into it, of whatever type the stand-in
// records, and replays them through the stand-in's own executor.
#ifndef GEOMETRIJA_LISTE_H
#define GEOMETRIJA_LISTE_H

#include <GL/gl.h>

#include <map>
#include <utility>
#include <vector>

template <typename Naredba>
class DisplayListe {
public:
    // GL's own bound on lists calling lists; deeper calls are ignored, so a
    // list that calls itself ends.
    static constexpr int NAJVECA_DUBINA = 64;

    void pocni(GLuint ime, GLenum rezim)
    {
        snimak_.clear();
        snimaSe_ = ime;
        izvrsava_ = rezim == GL_COMPILE_AND_EXECUTE;
    }

    // The new content replaces the old only now: a list called while it is
    // being compiled anew still holds what it held.
    void zavrsi()
    {
        if (snimaSe_ == 0)
            return;
        liste_[snimaSe_] = std::move(snimak_);
        snimak_.clear();
        snimaSe_ = 0;
        izvrsava_ = true;
    }

    GLuint snimaSe() const { return snimaSe_; }  // 0 while no list is compiled

    // Records the call while a list is compiled; true when it must not run now.
    bool snimi(const Naredba& naredba)
    {
        if (snimaSe_ == 0)
            return false;
        snimak_.push_back(naredba);
        return !izvrsava_;
    }

    // Runs each call of list `ime` through `izvrsi(naredba)`. The list is copied
    // first: a call it makes may compile the same list anew.
    template <typename Izvrsi>
    void pozovi(GLuint ime, Izvrsi&& izvrsi)
    {
        const auto lista = liste_.find(ime);
        if (lista == liste_.end() || dubina_ >= NAJVECA_DUBINA)
            return;
        const std::vector<Naredba> naredbe = lista->second;
        ++dubina_;
        for (const Naredba& n : naredbe)
            izvrsi(n);
        --dubina_;
    }

private:
    std::map<GLuint, std::vector<Naredba>> liste_;
    std::vector<Naredba> snimak_;
    GLuint snimaSe_ = 0;
    bool izvrsava_ = true;
    int dubina_ = 0;
};

#endif

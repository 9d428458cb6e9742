// Segments cut to a box and to the space in front of the eye.
#include "odsecanje.h"

#include <algorithm>

bool odseciDuz(const Okvir& okvir, double x1, double y1, double x2, double y2, double& t0, double& t1)
{
    const double dx = x2 - x1, dy = y2 - y1;
    t0 = 0.0;
    t1 = 1.0;
    // Each side in turn narrows [t0, t1] by p t <= q, where q < 0 puts P1 outside it.
    const auto strana = [&](double p, double q) {
        if (p == 0.0)
            return q >= 0.0;  // parallel to the side: wholly in or out
        const double t = q / p;
        if (p < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    return strana(-dx, x1 - okvir.levo) && strana(dx, okvir.desno - x1) && strana(-dy, y1 - okvir.dole) &&
           strana(dy, okvir.gore - y1);
}

bool odseciIspredOka(double a[4], double b[4])
{
    constexpr double NAJMANJE_W = 1e-6;
    if (a[3] < NAJMANJE_W && b[3] < NAJMANJE_W)
        return false;
    double* iza = a[3] < NAJMANJE_W ? a : (b[3] < NAJMANJE_W ? b : nullptr);
    if (iza) {
        double* ispred = iza == a ? b : a;
        const double t = (NAJMANJE_W - iza[3]) / (ispred[3] - iza[3]);
        for (int i = 0; i < 4; ++i)
            iza[i] += (ispred[i] - iza[i]) * t;
    }
    return true;
}

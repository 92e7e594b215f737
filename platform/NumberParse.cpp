#include "platform/NumberParse.h"

// std
#include <cerrno>
#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>

// POSIX
#include <locale.h>

int AtoI(const char* s)
{
    if (!s)
        return 0;
    char* end = nullptr;
    const long long v = std::strtoll(s, &end, 10);
    if (v > INT_MAX)
        return INT_MAX;
    if (v < INT_MIN)
        return INT_MIN;
    return int(v);
}

double AtoF(const char* s)
{
    if (!s)
        return 0.0;
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    char* end = nullptr;
    const double v = strtod_l(s, &end, c);
    if (std::isnan(v))
        return 0.0;
    if (std::isinf(v))
        return v > 0 ? DBL_MAX : -DBL_MAX;
    return v;
}

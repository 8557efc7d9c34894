// The one line format tools/bench reads from every bench: a figure, the
// baseline it is to be read against (measured in the same run), both with
// their names, and the unit. tools/bench prints the ratio.
#pragma once

#include <stdio.h>

// "figure<TAB>workload<TAB>name<TAB>value<TAB>baseline name<TAB>baseline value<TAB>unit"
inline void PrintBenchFigure(const char* pszWorkload, const char* pszName, double dValue, const char* pszBaseline,
                             double dBaseline, const char* pszUnit)
{
    printf("figure\t%s\t%s\t%.6g\t%s\t%.6g\t%s\n", pszWorkload, pszName, dValue, pszBaseline, dBaseline, pszUnit);
    fflush(stdout);
}

// Compiled once per build flavour with CORVANE_SERVER_ROOT set by the build.
#include "net/ServerRoot.h"

#ifndef CORVANE_SERVER_ROOT
#error "CORVANE_SERVER_ROOT must name the maker's server root"
#endif

const char* GetServerRoot()
{
    return CORVANE_SERVER_ROOT;
}

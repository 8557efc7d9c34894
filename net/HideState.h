// Whether the browsers go through the relay, and which upstream it uses.
#pragma once

#include "proxy/Proxy.h"

class CHideState
{
public:
    CHideState() : m_nCurIndex(-1), m_nNextIndex(-1), m_bHidden(0) {}

    int m_nCurIndex;    // list index of the automatic upstream, -1 when none
    int m_nNextIndex;   // list index of a proxy under single re-test, -1 when none
    int m_bHidden;      // the connection's proxy setting points at the relay
    CProxy m_curProxy;  // the upstream in use
};

// The process's one hide state, built on first use.
CHideState& GetHideState();

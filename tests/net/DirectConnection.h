// Page fetches through WinINet take the connection's proxy setting; a test
// that sets it (or a program that ended while hidden) must not send them to
// a relay that is gone. The program's own restore puts direct access back.
#pragma once

#include "net/ConnectionProxy.h"

inline bool UseDirectConnection()
{
    CHideState state;
    state.m_bHidden = 1;  // whatever the setting is now, as if it were ours
    return RestoreDirectConnection(state);
}

// Whether the browsers go through the relay, and which upstream it uses.
#include "net/HideState.h"

CHideState& GetHideState()
{
    static CHideState state;
    return state;
}

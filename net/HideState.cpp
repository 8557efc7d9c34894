#include "net/HideState.h"

CHideState& GetHideState()
{
    static CHideState state;
    return state;
}

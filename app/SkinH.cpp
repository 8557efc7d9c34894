// The skin library's entry point, attaching no skin in this build.
#include "app/SkinH.h"

int SkinH_Attach()
{
    return 0;
}

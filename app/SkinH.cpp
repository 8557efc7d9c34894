#include "app/SkinH.h"

int SkinH_Attach()
{
    return 0;
}

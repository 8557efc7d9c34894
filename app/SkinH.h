// The skin library's one entry point. The program relies on nothing the skin
// does, so this build attaches no skin and keeps the system's look.
#pragma once

int SkinH_Attach();

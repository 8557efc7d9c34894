// The main window's flags that the dialogs it opens set and clear.
#include "app/CorvaneMessages.h"

bool g_bAboutOpen = false;

// The window the workers and the relay post to, set by the main window as it opens.
#include "net/WorkerMessages.h"

HWND g_hMainWnd = NULL;

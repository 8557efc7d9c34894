// The start-up check-in's reply shown to the user: what the main window does
// with the reply of SendStartRequest before it goes on.
#pragma once

#include "afx.h"

class CWnd;

// Handles the reply of SendStartRequest, with messages on pOwner:
// an empty reply shows "Could not access server,please try again later."
// and returns false (the caller then ends the program); a server message is
// shown in the server message dialog before the values are stored (types 3
// and 4 end the program from there).
bool HandleStartReply(const CStringA& strReply, CWnd* pOwner);

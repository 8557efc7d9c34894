// Common controls; all of them come with the window layer.
#pragma once

#include "afxwin.h"

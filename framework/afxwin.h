// The window layer of the framework: what application code includes.
#pragma once

#include "afx.h"
#include "AfxTypes.h"
#include "AfxGdi.h"
#include "AfxMsgMap.h"
#include "AfxWnd.h"
#include "AfxDialog.h"
#include "AfxCtrl.h"
#include "AfxListCtrl.h"
#include "AfxToolTipCtrl.h"
#include "AfxMenu.h"
#include "AfxImageList.h"
#include "AfxImage.h"
#include "AfxFileDialog.h"

// Standard command and control ids.
#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

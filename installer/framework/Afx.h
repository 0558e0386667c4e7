// The installer's application framework: a thin layer over Win32.
#pragma once

#include "AfxControls.h"
#include "AfxDialog.h"
#include "AfxGlobalData.h"
#include "AfxResources.h"
#include "AfxString.h"
#include "AfxThread.h"
#include "AfxTypes.h"
#include "AfxWnd.h"

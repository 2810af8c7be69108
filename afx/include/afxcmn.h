// afxcmn.h - the Windows common controls.
//
// Classes declared here:
//   CSliderCtrl   - a trackbar ("msctls_trackbar32")
//   CProgressCtrl - a progress bar ("msctls_progress32")
//   CListCtrl     - a list view ("SysListView32")
#pragma once

#include <afxwin.h>
#include <commctrl.h>

#include "afx/slider_ctrl.h"
#include "afx/progress_ctrl.h"
#include "afx/list_ctrl.h"

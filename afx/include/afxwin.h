// afxwin.h - windows, dialogs, the application object and their helpers.
//
// Classes declared here:
//   CCmdTarget    - the root of every class with a message map
//   CWnd          - a C++ object bound to a window
//   CScrollBar    - a scroll bar
//   CDialog       - a modal dialog from a resource template
//   CWinApp       - the application object
//   CDataExchange - one exchange between a dialog's members and its controls
//   CMenu         - a borrowed menu
//   CDC, CPaintDC - device contexts
#pragma once

#include <afx.h>

#include "afx/message_map.h"
#include "afx/cmd_target.h"
#include "afx/data_exchange.h"
#include "afx/dc.h"
#include "afx/paint_dc.h"
#include "afx/menu.h"
#include "afx/wnd.h"
#include "afx/scroll_bar.h"
#include "afx/dialog.h"
#include "afx/win_app.h"

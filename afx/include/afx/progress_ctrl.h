// CProgressCtrl: a progress bar control, bound to a dialog's control by DDX_Control. Koravel
// drives it with messages of its own, so it adds nothing to CWnd.
#pragma once

#include "afx/wnd.h"

class CProgressCtrl : public CWnd {};

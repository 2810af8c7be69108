// CScrollBar: a scroll bar. Koravel meets one only as the control that a WM_HSCROLL comes from,
// so it adds nothing to CWnd.
#pragma once

#include "afx/wnd.h"

class CScrollBar : public CWnd {};

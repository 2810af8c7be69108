// CSliderCtrl: a trackbar control, bound to a dialog's control by DDX_Control.
#pragma once

#include "afx/wnd.h"

class CSliderCtrl : public CWnd {
 public:
  // Attributes
  int GetPos() const;
  void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
};

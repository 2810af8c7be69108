// CPaintDC: the device context of one WM_PAINT, from BeginPaint to EndPaint.
#pragma once

#include "afx/dc.h"

class CWnd;

class CPaintDC : public CDC {
 public:
  // Construction
  explicit CPaintDC(CWnd* pWnd);
  ~CPaintDC() override;

  // Attributes
  PAINTSTRUCT m_ps;

 protected:
  HWND m_hWnd;
};

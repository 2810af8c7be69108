#include <afxcmn.h>

int CSliderCtrl::GetPos() const {
  return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0));
}

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL bRedraw) {
  ::SendMessageA(m_hWnd, TBM_SETRANGE, bRedraw, MAKELPARAM(nMin, nMax));
}

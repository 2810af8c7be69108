// CMeasureDlg: the rate a mouse really reports, measured while the user moves it. Opened from the
// settings dialog's system menu, to see whether a new rate took after the restart; it writes
// nothing.
//
// A low-level mouse hook (WH_MOUSE_LL, Windows NT 4.0 Service Pack 3 and later) sees every move
// that any mouse reports, with the time stamp the system gave it; the meter counts them. The hook
// is set when the dialog opens and removed with the object, which goes as soon as the dialog has
// ended, however it ended. Where the system has no such hook, the dialog says so, with the
// system's text for the error.
#pragma once

#include <afxwin.h>

#include "meter/rate_meter.h"
#include "resources/resource.h"

class CMeasureDlg : public CDialog {
 public:
  // Construction
  explicit CMeasureDlg(CWnd* pParent = nullptr);
  ~CMeasureDlg() override;

  // Dialog data
  enum { IDD = IDD_MEASURE };
  CString m_strRate;  // "N reports a second"; empty before there is a measured rate

  enum { REFRESH = 200 };  // ms between two showings of the rate: five a second

 protected:
  // Overridables
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // Message handlers
  afx_msg void OnTimer(UINT_PTR nIDEvent);

  DECLARE_MESSAGE_MAP()

 private:
  // Counts each move into the meter of the dialog that set the hook, and passes every event on at
  // once: the system removes a hook that keeps the input waiting.
  static LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam);
  void RemoveHook();

  static CRateMeter* s_pMeter;  // the meter the hook feeds: one dialog at a time is modal
  CRateMeter m_meter;
  HHOOK m_hHook;  // null when not set
};

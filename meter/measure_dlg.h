// CMeasureDlg: the rate each mouse really reports, measured while the user moves it, beside the
// rate Koravel stored for it. Opened from the settings dialog's system menu, to see whether a new
// rate took after the restart; it writes nothing.
//
// On Windows XP and later the meter takes the mice's raw input while it is open: each report says
// which device made it, so each mouse that moves gets a row of its own, by the name Windows shows
// for it (rates/mouse_device.h). Where there is no raw input (Windows 2000, and NT 4.0 with Service
// Pack 3), a low-level mouse hook sees every move of every mouse, in one row for all, and the
// dialog says so; where there is neither, it says that the rate cannot be measured, with the
// system's text for the error. Either is set up when the dialog opens and removed with the object,
// which goes as soon as the dialog has ended, however it ended.
#pragma once

#include <afxcmn.h>
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
  CListCtrl m_list;  // a row for each mouse: its name, its stored rate, its measured rate

  enum { REFRESH = 200 };  // ms between two showings of the rates: five a second

 protected:
  // Overridables
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // Message handlers
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg LRESULT OnInput(WPARAM wParam, LPARAM lParam);

  DECLARE_MESSAGE_MAP()

 private:
  // Registers (or, with RIDEV_REMOVE and no window, removes) this window for the mice's raw
  // input, with the functions looked up at run time. FALSE where the system has no raw input.
  BOOL RegisterMice(DWORD dwFlags, HWND hTarget) const;
  // The name and stored rate of the device in row nRow of the meter.
  void AddRow(int nRow);
  // Counts each move into the meter of the dialog that set the hook, and passes every event on at
  // once: the system removes a hook that keeps the input waiting.
  static LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam);

  static CRateMeter* s_pMeter;  // the meter the hook feeds: one dialog at a time is modal
  CRateMeter m_meter;
  BOOL m_bRawInput;  // registered for raw input, until the object goes
  HHOOK m_hHook;     // null when not set
  decltype(&::GetRawInputData) m_pfnGetData;
  decltype(&::GetRawInputDeviceInfoA) m_pfnGetInfo;
};

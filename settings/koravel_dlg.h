// CKoravelDlg: the settings dialog, Koravel's main window. It shows the PS/2 mouse sample rate in
// effect on a progress bar and as a number (the first PS/2 mouse's own rate where it has one,
// otherwise the i8042 port driver's), and offers a slider (20 to 200) for the new rate, which OK
// writes into the driver's key and each PS/2 mouse's own key, whole or not at all.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include "resources/resource.h"

class CKoravelDlg : public CDialog {
 public:
  // Construction
  explicit CKoravelDlg(CWnd* pParent = nullptr);
  // Closes the key if the dialog ended without a close message (through OK or Cancel).
  ~CKoravelDlg() override;

  // The rates the slider offers. A stored rate may lie outside them.
  enum { MIN_RATE = 20, MAX_RATE = 200 };

  // Dialog data
  enum { IDD = IDD_SETTINGS };
  CSliderCtrl m_slider;      // the new rate
  CProgressCtrl m_progress;  // the stored rate
  CString m_strCurrent;      // the stored rate, as shown
  CString m_strNew;          // the new rate, as shown

  // Operations
  // Shows the system's text for a failed call's error code, and lpszNote on a line of its own
  // after it where there is one; then closes the dialog, which releases the registry key and ends
  // the dialog as cancelled. The caller resumes after the close handler has run.
  void ReportError(DWORD dwCode, LPCSTR lpszNote = nullptr);

  // TRUE on Windows NT. Elsewhere the questionnaire runs first, and the answer is FALSE: the
  // program does nothing on that platform.
  BOOL CheckPlatform();

  // Where an icon of extent nIcon goes, centred in a client area of extent nClient: an odd margin
  // leaves its extra pixel before the icon (on the left, or on top).
  static int IconOrigin(int nClient, int nIcon);

 protected:
  // Overridables
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Asks whether to restart Windows, saying what the restart will do; writes the slider's rate,
  // whole or not at all; and, on Yes, restarts Windows.
  void OnOK() override;

  // Shows the slider's position as the new rate.
  void ShowNewRate();

  // Message handlers
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnPaint();
  afx_msg HCURSOR OnQueryDragIcon();
  afx_msg void OnReleasedCaptureSlider(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnClose();

  HKEY m_hKey;    // the driver's parameters key, open to query and set values from start-up
                  // until closed; null otherwise
  HICON m_hIcon;  // shared resource icon: never destroyed

  DECLARE_MESSAGE_MAP()
};

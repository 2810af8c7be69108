// The settings dialog's system menu: its About entry opens the About box.
#include "about/about_dlg.h"
#include "settings/koravel_dlg.h"

void CKoravelDlg::OnSysCommand(UINT nID, LPARAM /*lParam*/) {
  // The system uses the low four bits of a system command internally.
  if ((nID & 0xFFF0) == IDM_ABOUT) {
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
  } else {
    Default();
  }
}

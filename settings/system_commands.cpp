// The settings dialog's system menu: its About entry opens the About box, its Measure Rate entry
// the meter.
#include "about/about_dlg.h"
#include "meter/measure_dlg.h"
#include "settings/koravel_dlg.h"

void CKoravelDlg::OnSysCommand(UINT nID, LPARAM /*lParam*/) {
  // The system uses the low four bits of a system command internally.
  if ((nID & 0xFFF0) == IDM_ABOUT) {
    CAboutDlg dlgAbout;
    dlgAbout.DoModal();
  } else if ((nID & 0xFFF0) == IDM_MEASURE) {
    CMeasureDlg dlgMeasure(this);
    dlgMeasure.DoModal();
  } else {
    Default();
  }
}

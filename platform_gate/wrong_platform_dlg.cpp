#include "wrong_platform_dlg.h"

namespace {

// The answer to each reason, in the order of the radio buttons. A null caption leaves the
// framework's default, the application's name.
struct Reply {
  const char* text;
  const char* caption;
};

const Reply kReplies[] = {
    {"That wasn't very smart, was it?\r\nWhat if I were some sort of joker that wanted to erase "
     "your hard drive?",
     "Ignorance is no excuse!"},
    {"Then there's nothing I can do for you.\r\nIt's tempting to just reformat your system drive "
     "so that you don't hurt yourself...",
     "That makes sense."},
    {"Why shoot, you must be runnin' Winders '98!\r\nWell Shut my mouth!", "Yee Haw!"},
    {"Don't fool around with me boy. You really want me to send threats\r\nto Zorblatt through "
     "your machine, don't you?",
     "Somehow, I doubt it."},
    {"Entonces estoy apesadumbrado de haber ofendidole.Yo qero Taco Bell", nullptr},
};

}  // namespace

BEGIN_MESSAGE_MAP(CWrongPlatformDlg, CDialog)
END_MESSAGE_MAP()

CWrongPlatformDlg::CWrongPlatformDlg(CWnd* pParent)
    : CDialog(CWrongPlatformDlg::IDD, pParent), m_nChoice(0) {}

void CWrongPlatformDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Radio(pDX, IDC_CHOICE1, m_nChoice);
}

void CWrongPlatformDlg::OnOK() {
  UpdateData(TRUE);
  if (m_nChoice >= 0 && m_nChoice < static_cast<int>(sizeof kReplies / sizeof kReplies[0])) {
    MessageBox(kReplies[m_nChoice].text, kReplies[m_nChoice].caption, MB_OK);
  }
  CDialog::OnOK();
}

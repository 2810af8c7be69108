// Compiled, not run: a handler whose signature differs from the one its ON_ macro states is a
// compile error. Built once with the right signature (it must compile) and once with the wrong
// one (it must not), so that the failure can only be the signature.
#include <afxwin.h>

class CSignatureDlg : public CDialog {
 public:
  CSignatureDlg() : CDialog(1) {}

 protected:
#if defined(HANDLER_SIGNATURE_right)
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
#else
  afx_msg BOOL OnSysCommand(UINT nID, LPARAM lParam);  // BOOL, not void
#endif
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSignatureDlg, CDialog)
ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

#include <afxwin.h>

#include <map>
#include <memory>

CMenu* CMenu::FromHandle(HMENU hMenu) {
  if (hMenu == nullptr) return nullptr;
  // One wrapper per handle value; a handle value that Windows reuses gets the same wrapper,
  // which holds nothing but the value.
  static std::map<HMENU, std::unique_ptr<CMenu>> wrappers;
  std::unique_ptr<CMenu>& pMenu = wrappers[hMenu];
  if (!pMenu) {
    pMenu.reset(new CMenu);
    pMenu->m_hMenu = hMenu;
  }
  return pMenu.get();
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem) {
  return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

#include <afxwin.h>

namespace {

// The wrappers FromHandle has handed out, one per handle value, kept for the life of the process.
// A handle value that Windows reuses gets the same wrapper, which holds nothing but the value.
// Koravel wraps one or two menus in its life, so a list is all the lookup needs.
struct MenuWrapper {
  CMenu menu;
  MenuWrapper* pNext;
};
MenuWrapper* g_pWrappers = nullptr;

}  // namespace

CMenu* CMenu::FromHandle(HMENU hMenu) {
  if (hMenu == nullptr) return nullptr;
  for (MenuWrapper* p = g_pWrappers; p != nullptr; p = p->pNext) {
    if (p->menu.m_hMenu == hMenu) return &p->menu;
  }
  MenuWrapper* pWrapper = new MenuWrapper;
  pWrapper->menu.m_hMenu = hMenu;
  pWrapper->pNext = g_pWrappers;
  g_pWrappers = pWrapper;
  return &pWrapper->menu;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCSTR lpszNewItem) {
  return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

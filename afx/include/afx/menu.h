// CMenu: a menu handle wrapper. The library hands out only borrowed menus (a window's system
// menu), which belong to their window: a CMenu never destroys its menu.
#pragma once

#include <windows.h>

class CMenu {
 public:
  // Construction
  CMenu() = default;
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  // Attributes
  HMENU m_hMenu = nullptr;
  // A wrapper for hMenu that lives as long as the process, or null for a null handle.
  static CMenu* FromHandle(HMENU hMenu);

  // Operations
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCSTR lpszNewItem = nullptr);
};

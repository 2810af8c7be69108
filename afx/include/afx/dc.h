// CDC: a device-context wrapper. This one does not own its context; CPaintDC, which does, derives
// from it.
#pragma once

#include <windows.h>

class CDC {
 public:
  // Construction
  CDC() = default;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  virtual ~CDC() = default;

  // Attributes
  HDC m_hDC = nullptr;
  HDC GetSafeHdc() const { return m_hDC; }

  // Operations
  BOOL DrawIcon(int x, int y, HICON hIcon);
};

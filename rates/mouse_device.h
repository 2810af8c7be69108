// CMouseDevice: what Windows knows of a mouse that raw input names (Windows XP and later): the
// name it shows for the device, whether the device is one of the PS/2 mice whose rate Koravel sets
// (rates/setup_api.h), and the rate that such a mouse reads when Windows starts. It only reads.
#pragma once

#include <afx.h>

#include "rates/startup_rate.h"

class CMouseDevice {
 public:
  // Construction
  // Looks up the device that raw input names lpszRawName: "\\?\" (on Windows XP "\??\"), the
  // device's instance ID with each "\" written "#", then "#{interface class}" and, where the
  // driver gave one, a reference of its own. An instance ID may hold braces itself (a Bluetooth
  // device's does), so the class is the last "#{" of the name.
  explicit CMouseDevice(LPCSTR lpszRawName);

  // Attributes
  // The name Windows shows for the device: its friendly name, else its description, else (where
  // it has neither, or the device cannot be looked up) its instance ID.
  LPCSTR GetName() const { return m_strName; }
  // Why the device could not be looked up, or its kind be told; ERROR_SUCCESS where it could.
  LONG GetError() const { return m_lError; }
  // Whether it is a PS/2 mouse, whose rate Koravel sets.
  BOOL IsPs2() const { return m_bPs2; }
  // For a PS/2 mouse, what it reads when Windows starts.
  const CStartupRate& GetStartupRate() const { return m_rate; }

 private:
  CString m_strName;
  LONG m_lError = ERROR_SUCCESS;
  BOOL m_bPs2 = FALSE;
  CStartupRate m_rate;
};

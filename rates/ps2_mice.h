// CPs2Mice: the installed PS/2 mice, each with a key of its own (Windows 2000 and later).
//
// When Windows installs a PS/2 mouse, it copies the i8042 port driver's service-level SampleRate
// into the device's hardware key ("Device Parameters" under the device's Enum key), and from then
// on the driver reads that copy (rates/startup_rate.h): a rate reaches an installed mouse there,
// where Device Manager writes it. The mice are the installed devices of the Mouse setup class
// whose service is i8042prt (rates/setup_api.h), present at this start or not: the driver reads the
// key of one that is not the next time it is. Windows NT 4.0 keeps no such copy: there is no list
// there, and SetupAPI is not even loaded.
#pragma once

#include <afxtempl.h>

#include "rates/setup_api.h"

class CPs2Mice {
 public:
  // Construction
  // Lists the mice; construct one only on Windows NT.
  CPs2Mice();
  ~CPs2Mice();
  CPs2Mice(const CPs2Mice&) = delete;
  CPs2Mice& operator=(const CPs2Mice&) = delete;

  // Attributes
  // Whether the mice were listed; FALSE on Windows NT 4.0, or where listing them failed.
  BOOL IsListed() const { return m_hDevices != INVALID_HANDLE_VALUE && m_lError == ERROR_SUCCESS; }
  // Why listing the mice failed (SetupAPI missing included); ERROR_SUCCESS where it did not, and
  // on Windows NT 4.0.
  LONG GetError() const { return m_lError; }
  int GetCount() const { return m_mice.GetSize(); }

  // Operations, on mouse nMouse (0 to GetCount() - 1)
  // The name Windows shows for it (rates/setup_api.h), in UTF-8, and its instance ID; empty where
  // unknown.
  CString GetName(int nMouse) const;
  CString GetInstanceId(int nMouse) const;
  // What it reads when Windows starts; ERROR_SUCCESS, or why that is unknown.
  LONG ReadStartupRate(int nMouse, CStartupRate* pRate) const;
  // Opens its own key to query and set values into *phKey, which the caller closes. Where the
  // mouse has none, creates it, and *pbCreated says so.
  LONG OpenKey(int nMouse, HKEY* phKey, BOOL* pbCreated) const;
  // Deletes its own key again, after OpenKey created it; close it first.
  LONG DeleteKey(int nMouse) const;

 private:
  CSetupApi m_setupApi;
  HDEVINFO m_hDevices;  // INVALID_HANDLE_VALUE where there is no list
  CArray<SP_DEVINFO_DATA, const SP_DEVINFO_DATA&> m_mice;  // in the system's order
  LONG m_lError;
};

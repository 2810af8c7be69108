// CRateMeter: the rate of each mouse apart, from the time stamps of its reports (meter/
// report_times.h), the mice in the order they were first seen.
#pragma once

#include <windows.h>

class CReportTimes;

class CRateMeter {
 public:
  // Construction
  CRateMeter() = default;
  ~CRateMeter();
  CRateMeter(const CRateMeter&) = delete;
  CRateMeter& operator=(const CRateMeter&) = delete;

  // Operations
  // Counts a report that device hDevice made at dwTime. Any handle value names a device, null
  // included; one not seen before comes last.
  void Add(HANDLE hDevice, DWORD dwTime);

  // Attributes
  int GetDeviceCount() const { return m_nDevices; }
  // Device n, 0 to GetDeviceCount() - 1.
  HANDLE GetDevice(int n) const { return m_pDevices[n].hDevice; }
  // Device n's reports a second, rounded; -1 before there has been enough movement since its last
  // pause.
  int GetRate(int n) const;

 private:
  struct Device {
    HANDLE hDevice;
    CReportTimes* pTimes;
  };
  Device* m_pDevices = nullptr;
  int m_nDevices = 0;
  int m_nAlloc = 0;  // entries m_pDevices has room for
};

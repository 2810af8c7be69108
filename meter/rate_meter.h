// CRateMeter: the rate of each mouse apart, from the time stamps of its reports (meter/
// report_times.h), the mice in the order they were first seen.
#pragma once

#include <afxtempl.h>

class CReportTimes;

class CRateMeter {
 public:
  // Construction
  CRateMeter() = default;
  ~CRateMeter();
  CRateMeter(const CRateMeter&) = delete;
  CRateMeter& operator=(const CRateMeter&) = delete;

  // Operations
  // Counts a report of movement that device hDevice made at dwTime. Any handle value names a
  // device, null included; one not seen before comes last.
  void Add(HANDLE hDevice, DWORD dwTime);
  // Counts a report of a device that reports where it points (a tablet, a virtual machine's or a
  // remote session's pointer) only where that position moved since its last report; its first
  // counts.
  void AddPosition(HANDLE hDevice, LONG x, LONG y, DWORD dwTime);

  // Attributes
  int GetDeviceCount() const { return m_devices.GetSize(); }
  // Device n, 0 to GetDeviceCount() - 1.
  HANDLE GetDevice(int n) const { return m_devices[n].hDevice; }
  // Device n's reports a second, rounded; -1 before there has been enough movement since its last
  // pause.
  int GetRate(int n) const;

 private:
  struct Device {
    HANDLE hDevice;
    CReportTimes* pTimes;  // owned
    POINT position;        // the last reported, where bPositioned
    BOOL bPositioned;
  };
  // The index of hDevice, added where it is new.
  int Find(HANDLE hDevice);

  CArray<Device, const Device&> m_devices;
};

#include "meter/rate_meter.h"

#include "meter/report_times.h"

CRateMeter::~CRateMeter() {
  for (int n = 0; n < m_devices.GetSize(); ++n) delete m_devices[n].pTimes;
}

int CRateMeter::Find(HANDLE hDevice) {
  // A few mice at most: a look through them all is the quickest way.
  for (int n = 0; n < m_devices.GetSize(); ++n) {
    if (m_devices[n].hDevice == hDevice) return n;
  }
  return m_devices.Add({hDevice, new CReportTimes, {0, 0}, FALSE});
}

void CRateMeter::Add(HANDLE hDevice, DWORD dwTime) { m_devices[Find(hDevice)].pTimes->Add(dwTime); }

void CRateMeter::AddPosition(HANDLE hDevice, LONG x, LONG y, DWORD dwTime) {
  Device& device = m_devices[Find(hDevice)];
  if (device.bPositioned && device.position.x == x && device.position.y == y) return;
  device.position = {x, y};
  device.bPositioned = TRUE;
  device.pTimes->Add(dwTime);
}

int CRateMeter::GetRate(int n) const { return m_devices[n].pTimes->GetRate(); }

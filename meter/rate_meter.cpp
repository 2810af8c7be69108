#include "meter/rate_meter.h"

#include <string.h>

#include "meter/report_times.h"

CRateMeter::~CRateMeter() {
  for (int n = 0; n < m_nDevices; ++n) delete m_pDevices[n].pTimes;
  delete[] m_pDevices;
}

void CRateMeter::Add(HANDLE hDevice, DWORD dwTime) {
  // A few mice at most: a look through them all is the quickest way.
  int n = 0;
  while (n < m_nDevices && m_pDevices[n].hDevice != hDevice) ++n;
  if (n == m_nDevices) {
    if (m_nDevices == m_nAlloc) {
      m_nAlloc = m_nAlloc != 0 ? 2 * m_nAlloc : 4;
      Device* pDevices = new Device[m_nAlloc];
      if (m_nDevices != 0) ::memcpy(pDevices, m_pDevices, m_nDevices * sizeof *pDevices);
      delete[] m_pDevices;
      m_pDevices = pDevices;
    }
    m_pDevices[m_nDevices++] = {hDevice, new CReportTimes};
  }
  m_pDevices[n].pTimes->Add(dwTime);
}

int CRateMeter::GetRate(int n) const { return m_pDevices[n].pTimes->GetRate(); }

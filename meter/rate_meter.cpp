#include "meter/rate_meter.h"

void CRateMeter::AddMove(DWORD dwTime) {
  // Compared as a signed difference: a time stamp a little older than the last is no pause.
  if (m_nCount > 0 && static_cast<LONG>(dwTime - At(m_nCount - 1)) > PAUSE) m_nCount = 0;
  if (m_nCount == CAPACITY) {
    m_nFirst = (m_nFirst + 1) % CAPACITY;
    --m_nCount;
  }
  m_adwTimes[(m_nFirst + m_nCount++) % CAPACITY] = dwTime;
}

int CRateMeter::GetRate() const {
  if (m_nCount < 2) return -1;
  const DWORD dwLast = At(m_nCount - 1);
  int nFirst = 0;
  while (dwLast - At(nFirst) > WINDOW) ++nFirst;
  const DWORD dwSpan = dwLast - At(nFirst);
  if (dwSpan < MIN_SPAN) return -1;
  const DWORD dwIntervals = static_cast<DWORD>(m_nCount - 1 - nFirst);
  return static_cast<int>((dwIntervals * 1000 + dwSpan / 2) / dwSpan);
}

#include "rates/stored_rates.h"

#include "rates/sample_rate.h"

CStoredRates::CStoredRates()
    : m_lDriverResult(ERROR_SUCCESS),
      m_nMice(m_mice.IsListed() ? m_mice.GetCount() : 0),
      m_pMouseFacts(new Mouse[m_nMice]) {
  m_lDriverResult = ReadParametersRate(&m_dwDriverRate, &m_bDriverDword);
  for (int nMouse = 0; nMouse < m_nMice; ++nMouse) {
    Mouse& mouse = m_pMouseFacts[nMouse];
    mouse.strName = m_mice.GetName(nMouse);
    mouse.strInstanceId = m_mice.GetInstanceId(nMouse);
    mouse.lRateResult = m_mice.ReadStartupRate(nMouse, &mouse.rate);
  }
}

BOOL CStoredRates::DriverReads(DWORD dwRate) const {
  return m_lDriverResult == ERROR_SUCCESS && m_bDriverDword && m_dwDriverRate == dwRate;
}

BOOL CStoredRates::AllRead(DWORD dwRate) const {
  BOOL bAll = DriverReads(dwRate) && m_mice.GetError() == ERROR_SUCCESS;
  for (int nMouse = 0; nMouse < GetMouseCount(); ++nMouse)
    bAll = bAll && MouseReads(nMouse, dwRate);
  return bAll;
}

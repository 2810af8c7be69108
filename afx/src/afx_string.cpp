#include <afx.h>
#include <afxwin.h>

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

CString::CString(LPCSTR lpsz) { *this = lpsz; }

CString::CString(const CString& stringSrc) { *this = static_cast<LPCSTR>(stringSrc); }

CString::~CString() { delete[] m_pchData; }

CString& CString::operator=(const CString& stringSrc) {
  if (&stringSrc != this) *this = static_cast<LPCSTR>(stringSrc);
  return *this;
}

CString& CString::operator=(LPCSTR lpsz) {
  const int nLength = lpsz != nullptr ? static_cast<int>(::strlen(lpsz)) : 0;
  if (nLength == 0) {
    Empty();
  } else if (lpsz >= m_pchData && lpsz <= m_pchData + m_nLength) {
    // A part of this string's own text.
    ::memmove(m_pchData, lpsz, static_cast<size_t>(nLength) + 1);
    m_nLength = nLength;
  } else {
    ::memcpy(GetBuffer(nLength), lpsz, static_cast<size_t>(nLength) + 1);
    m_nLength = nLength;
  }
  return *this;
}

const CString& CString::operator+=(LPCSTR lpsz) {
  const int nAdded = lpsz != nullptr ? static_cast<int>(::strlen(lpsz)) : 0;
  if (nAdded == 0) return *this;
  if (m_nLength + nAdded > m_nAllocLength) {
    const int nGrown = m_nAllocLength + m_nAllocLength / 2;
    // A part of this string's own text moves with the block.
    const bool bOwn = lpsz >= m_pchData && lpsz <= m_pchData + m_nLength;
    const int nOffset = bOwn ? static_cast<int>(lpsz - m_pchData) : 0;
    GetBuffer(m_nLength + nAdded > nGrown ? m_nLength + nAdded : nGrown);
    if (bOwn) lpsz = m_pchData + nOffset;
  }
  ::memmove(m_pchData + m_nLength, lpsz, static_cast<size_t>(nAdded));
  m_nLength += nAdded;
  m_pchData[m_nLength] = '\0';
  return *this;
}

const CString& CString::operator+=(char ch) {
  const char sz[2] = {ch, '\0'};
  return *this += sz;
}

CString::operator LPCSTR() const { return m_pchData != nullptr ? m_pchData : ""; }

LPSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > m_nAllocLength) {
    char* pchNew = new char[static_cast<size_t>(nMinBufLength) + 1];
    ::memcpy(pchNew, static_cast<LPCSTR>(*this), static_cast<size_t>(m_nLength) + 1);
    delete[] m_pchData;
    m_pchData = pchNew;
    m_nAllocLength = nMinBufLength;
  } else if (m_pchData == nullptr) {
    // Asked for no room at all: still a writable, terminated buffer.
    return GetBuffer(1);
  }
  return m_pchData;
}

void CString::ReleaseBuffer() {
  m_pchData[m_nAllocLength] = '\0';
  m_nLength = static_cast<int>(::strlen(m_pchData));
}

void CString::Empty() {
  delete[] m_pchData;
  m_pchData = nullptr;
  m_nLength = 0;
  m_nAllocLength = 0;
}

void CString::Format(LPCSTR lpszFormat, ...) {
  // The runtime's own formatting (MSVCRT), as the original used. Its _vsnprintf answers -1 while
  // the buffer is too small, so the buffer grows until the text fits; but it answers -1 for an
  // encoding error too, whatever the buffer, so the growth stops at FORMAT_MAX.
  va_list args;
  va_start(args, lpszFormat);
  CString result;
  BOOL bFits = FALSE;
  for (int nSize = 64; !bFits && nSize <= FORMAT_MAX; nSize *= 2) {
    va_list attempt;
    va_copy(attempt, args);
    const int nLength =
        ::_vsnprintf(result.GetBuffer(nSize), static_cast<size_t>(nSize) + 1, lpszFormat, attempt);
    va_end(attempt);
    bFits = nLength >= 0 && nLength <= nSize;
  }
  va_end(args);
  if (bFits) {
    result.ReleaseBuffer();
    *this = result;
  } else {
    Empty();
  }
}

BOOL CString::LoadString(UINT nID) {
  // LoadStringA truncates silently, so grow the buffer until the text fits with room to spare.
  CString result;
  for (int nSize = 256;; nSize *= 2) {
    const int nCopied =
        ::LoadStringA(AfxGetResourceHandle(), nID, result.GetBuffer(nSize - 1), nSize);
    if (nCopied < nSize - 1) break;
  }
  result.ReleaseBuffer();
  *this = result;
  return !IsEmpty();
}

int CString::Compare(LPCSTR lpsz) const { return ::strcmp(*this, lpsz != nullptr ? lpsz : ""); }

// Each comparison through Compare, with the operands in their order: s1 OP s2.
#define KORAVEL_STRING_COMPARISON(op)                                                    \
  bool operator op(const CString& s1, const CString& s2) { return s1.Compare(s2) op 0; } \
  bool operator op(const CString& s1, LPCSTR s2) { return s1.Compare(s2) op 0; }         \
  bool operator op(LPCSTR s1, const CString& s2) { return 0 op s2.Compare(s1); }
KORAVEL_STRING_COMPARISON(==)
KORAVEL_STRING_COMPARISON(!=)
KORAVEL_STRING_COMPARISON(<)
KORAVEL_STRING_COMPARISON(>)
KORAVEL_STRING_COMPARISON(<=)
KORAVEL_STRING_COMPARISON(>=)
#undef KORAVEL_STRING_COMPARISON

#include <afx.h>
#include <afxwin.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

CString::CString(LPCSTR lpsz) : m_str(lpsz != nullptr ? lpsz : "") {}

CString& CString::operator=(LPCSTR lpsz) {
  m_str = lpsz != nullptr ? lpsz : "";
  return *this;
}

int CString::GetLength() const { return static_cast<int>(m_str.size()); }

BOOL CString::IsEmpty() const { return m_str.empty(); }

CString::operator LPCSTR() const { return m_str.c_str(); }

int CString::Compare(LPCSTR lpsz) const { return std::strcmp(m_str.c_str(), lpsz ? lpsz : ""); }

void CString::Format(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  va_list measure;
  va_copy(measure, args);
  const int nLength = std::vsnprintf(nullptr, 0, lpszFormat, measure);
  va_end(measure);
  if (nLength < 0) {
    m_str.clear();
  } else {
    std::string result(static_cast<size_t>(nLength) + 1, '\0');
    std::vsnprintf(&result[0], result.size(), lpszFormat, args);
    result.resize(static_cast<size_t>(nLength));
    m_str.swap(result);
  }
  va_end(args);
}

BOOL CString::LoadString(UINT nID) {
  // LoadStringA truncates silently, so grow the buffer until the text fits with room to spare.
  std::string buffer(256, '\0');
  for (;;) {
    const int nCopied =
        ::LoadStringA(AfxGetResourceHandle(), nID, &buffer[0], static_cast<int>(buffer.size()));
    if (nCopied < static_cast<int>(buffer.size()) - 1) {
      buffer.resize(nCopied > 0 ? static_cast<size_t>(nCopied) : 0);
      break;
    }
    buffer.assign(buffer.size() * 2, '\0');
  }
  m_str.swap(buffer);
  return !m_str.empty();
}

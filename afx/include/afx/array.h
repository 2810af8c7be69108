// CArray: an array of TYPE that grows as elements are added; ARG_TYPE is how an element is passed
// in (TYPE or const TYPE&). Indexes run from 0 to GetUpperBound() and are not checked, as in the
// original's release builds.
//
// Elements are constructed in place and destroyed when they are removed: any TYPE that can be
// default-constructed, copied and assigned will do. Growing moves them into a larger block by
// copying, so a reference or pointer to an element lasts only until the next Add or SetSize.
#pragma once

#include <windows.h>

#include <new>

template <class TYPE, class ARG_TYPE>
class CArray {
 public:
  // Construction
  CArray() = default;
  ~CArray() { SetSize(0); }
  CArray(const CArray&) = delete;
  CArray& operator=(const CArray&) = delete;

  // Attributes
  int GetSize() const { return m_nSize; }
  int GetUpperBound() const { return m_nSize - 1; }
  // nNewSize elements, those added default-constructed; 0 also frees the block. nGrowBy sets the
  // least number of elements room is made for when the array grows from now on; -1 keeps it.
  void SetSize(int nNewSize, int nGrowBy = -1);

  // Operations
  void RemoveAll() { SetSize(0); }
  TYPE GetAt(int nIndex) const { return m_pData[nIndex]; }
  void SetAt(int nIndex, ARG_TYPE newElement) { m_pData[nIndex] = newElement; }
  TYPE& ElementAt(int nIndex) { return m_pData[nIndex]; }
  const TYPE* GetData() const { return m_pData; }
  TYPE* GetData() { return m_pData; }
  // Appends newElement, which may be an element of this array, and returns its index.
  int Add(ARG_TYPE newElement);

  TYPE operator[](int nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](int nIndex) { return ElementAt(nIndex); }

 private:
  // Moves the elements into a block with room for nMaxSize (at least m_nSize).
  void Reallocate(int nMaxSize);

  TYPE* m_pData = nullptr;
  int m_nSize = 0;
  int m_nMaxSize = 0;  // elements the block has room for
  int m_nGrowBy = 0;   // 0: an eighth of the size, at least 4 and at most 1024
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(int nMaxSize) {
  TYPE* pData =
      nMaxSize != 0 ? reinterpret_cast<TYPE*>(new BYTE[nMaxSize * sizeof(TYPE)]) : nullptr;
  for (int i = 0; i < m_nSize; ++i) {
    ::new (static_cast<void*>(pData + i)) TYPE(m_pData[i]);
    m_pData[i].~TYPE();
  }
  delete[] reinterpret_cast<BYTE*>(m_pData);
  m_pData = pData;
  m_nMaxSize = nMaxSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy) {
  if (nGrowBy != -1) m_nGrowBy = nGrowBy;
  for (; m_nSize > nNewSize; --m_nSize) m_pData[m_nSize - 1].~TYPE();
  if (nNewSize == 0) {
    Reallocate(0);
    return;
  }
  if (nNewSize > m_nMaxSize) {
    int nGrow = m_nGrowBy;
    if (nGrow == 0) nGrow = m_nSize / 8 < 4 ? 4 : m_nSize / 8 > 1024 ? 1024 : m_nSize / 8;
    Reallocate(nNewSize > m_nMaxSize + nGrow ? nNewSize : m_nMaxSize + nGrow);
  }
  for (; m_nSize < nNewSize; ++m_nSize) ::new (static_cast<void*>(m_pData + m_nSize)) TYPE();
}

template <class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Add(ARG_TYPE newElement) {
  // A copy first: newElement may be one of the elements that growing moves.
  TYPE element(newElement);
  SetSize(m_nSize + 1);
  m_pData[m_nSize - 1] = element;
  return m_nSize - 1;
}

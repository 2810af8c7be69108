#include <afxcmn.h>

int CListCtrl::GetItemCount() const {
  return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCSTR lpszText) {
  LVITEMA item = {};
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPSTR>(lpszText);
  return static_cast<BOOL>(
      ::SendMessageA(m_hWnd, LVM_SETITEMTEXTA, nItem, reinterpret_cast<LPARAM>(&item)));
}

int CListCtrl::InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat, int nWidth,
                            int nSubItem) {
  LVCOLUMNA column = {};
  column.mask = LVCF_FMT | LVCF_TEXT;
  column.fmt = nFormat;
  column.pszText = const_cast<LPSTR>(lpszColumnHeading);
  if (nWidth != -1) {
    column.mask |= LVCF_WIDTH;
    column.cx = nWidth;
  }
  if (nSubItem != -1) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = nSubItem;
  }
  return static_cast<int>(
      ::SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, nCol, reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::InsertItem(int nItem, LPCSTR lpszItem) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = nItem;
  item.pszText = const_cast<LPSTR>(lpszItem);
  return static_cast<int>(
      ::SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

// CListCtrl: a list-view control ("SysListView32"), bound to a dialog's control by DDX_Control.
// Koravel shows a table in report view: columns, rows, and the text of their cells.
#pragma once

#include "afx/wnd.h"

class CListCtrl : public CWnd {
 public:
  // Attributes
  int GetItemCount() const;
  // Sets the text of row nItem's column nSubItem (0 for the row's first).
  BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText);

  // Operations
  // Inserts column nCol with its heading; nWidth in pixels. nSubItem is the column whose text it
  // shows, nCol itself where -1. The new column's index, or -1.
  int InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                   int nSubItem = -1);
  // Inserts row nItem with lpszItem in its first column. The new row's index, or -1.
  int InsertItem(int nItem, LPCSTR lpszItem);
};

// CCmdTarget: the root of every class that has a message map.
#pragma once

#include "afx/message_map.h"

class CCmdTarget {
 public:
  // Construction
  CCmdTarget() = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;
  virtual ~CCmdTarget() = default;

  // Operations
  // Routes command nID with notification code nCode (0 for menus and BN_CLICKED) to a handler in
  // this object's message map. pExtra and pHandlerInfo are unused and must be null. TRUE when a
  // handler ran.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

 protected:
  // The first entry for (nMessage, nCode, nID) in pMap or the maps it derives from, or null.
  static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode,
                                                  UINT nID);

  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

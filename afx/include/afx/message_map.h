// Message maps: tables that bind window messages, commands and notifications to member handlers.
//
// Each ON_ macro states the handler's signature once: the entry converts the named member to that
// exact signature with static_cast, so a handler of any other signature does not compile, and
// dispatch calls it through the same signature, chosen by the entry's AfxSig.
#pragma once

#include <windows.h>

#include <type_traits>

class CCmdTarget;
class CWnd;
class CScrollBar;

// The handler signatures that dispatch knows, one per exact member-function type.
enum AfxSig : UINT {
  AfxSig_end = 0,  // end of a map
  AfxSig_vv,       // void (CWnd::*)()                        WM_PAINT, WM_CLOSE
  AfxSig_vw,       // void (CWnd::*)(UINT_PTR)                WM_TIMER
  AfxSig_vwl,      // void (CWnd::*)(UINT, LPARAM)            WM_SYSCOMMAND
  AfxSig_hv,       // HCURSOR (CWnd::*)()                     WM_QUERYDRAGICON
  AfxSig_vwwW,     // void (CWnd::*)(UINT, UINT, CScrollBar*) WM_HSCROLL
  AfxSig_lwl,      // LRESULT (CWnd::*)(WPARAM, LPARAM)       ON_MESSAGE
  AfxSigCmd_v,     // void (CCmdTarget::*)()                  WM_COMMAND
  AfxSigNotify_v,  // void (CCmdTarget::*)(NMHDR*, LRESULT*)  WM_NOTIFY
};

// A handler of one of the AfxSig signatures; the entry's nSig names the member that is set.
union AfxHandler {
  constexpr AfxHandler() : pfnCmd_v(nullptr) {}
  constexpr AfxHandler(void (CWnd::*pfn)()) : pfn_vv(pfn) {}
  constexpr AfxHandler(void (CWnd::*pfn)(UINT_PTR)) : pfn_vw(pfn) {}
  constexpr AfxHandler(void (CWnd::*pfn)(UINT, LPARAM)) : pfn_vwl(pfn) {}
  constexpr AfxHandler(HCURSOR (CWnd::*pfn)()) : pfn_hv(pfn) {}
  constexpr AfxHandler(void (CWnd::*pfn)(UINT, UINT, CScrollBar*)) : pfn_vwwW(pfn) {}
  constexpr AfxHandler(LRESULT (CWnd::*pfn)(WPARAM, LPARAM)) : pfn_lwl(pfn) {}
  constexpr AfxHandler(void (CCmdTarget::*pfn)()) : pfnCmd_v(pfn) {}
  constexpr AfxHandler(void (CCmdTarget::*pfn)(NMHDR*, LRESULT*)) : pfnNotify_v(pfn) {}

  void (CWnd::*pfn_vv)();
  void (CWnd::*pfn_vw)(UINT_PTR);
  void (CWnd::*pfn_vwl)(UINT, LPARAM);
  HCURSOR (CWnd::*pfn_hv)();
  void (CWnd::*pfn_vwwW)(UINT, UINT, CScrollBar*);
  LRESULT (CWnd::*pfn_lwl)(WPARAM, LPARAM);
  void (CCmdTarget::*pfnCmd_v)();
  void (CCmdTarget::*pfnNotify_v)(NMHDR*, LRESULT*);
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // window message
  UINT nCode;     // command or notification code; 0 for a plain window message
  UINT nID;       // first command or control ID; 0 for a plain window message
  UINT nLastID;   // last ID of the range
  UINT nSig;      // an AfxSig
  AfxHandler pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root of the class tree
  const AFX_MSGMAP_ENTRY* lpEntries;     // ends with an AfxSig_end entry
};

#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const AFX_MSGMAP* GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
    typedef theClass ThisClass;                                                     \
    typedef baseClass TheBaseClass;                                                 \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                       \
  { 0, 0, 0, 0, AfxSig_end, AfxHandler() }                                                      \
  }                                                                                             \
  ;                                                                                             \
  static_assert(std::is_base_of<TheBaseClass, ThisClass>::value, "not the class's base");       \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                           \
  }

// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND() \
  {WM_SYSCOMMAND,          \
   0,                      \
   0,                      \
   0,                      \
   AfxSig_vwl,             \
   static_cast<void (CWnd::*)(UINT, LPARAM)>(&ThisClass::OnSysCommand)},
// void OnPaint()
#define ON_WM_PAINT() \
  {WM_PAINT, 0, 0, 0, AfxSig_vv, static_cast<void (CWnd::*)()>(&ThisClass::OnPaint)},
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON() \
  {WM_QUERYDRAGICON,          \
   0,                         \
   0,                         \
   0,                         \
   AfxSig_hv,                 \
   static_cast<HCURSOR (CWnd::*)()>(&ThisClass::OnQueryDragIcon)},
// void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar): pScrollBar is a temporary
// object for the control that scrolled (a slider, say), valid during the call only; null for none.
#define ON_WM_HSCROLL() \
  {WM_HSCROLL,  0,      \
   0,           0,      \
   AfxSig_vwwW, static_cast<void (CWnd::*)(UINT, UINT, CScrollBar*)>(&ThisClass::OnHScroll)},
// void OnClose()
#define ON_WM_CLOSE() \
  {WM_CLOSE, 0, 0, 0, AfxSig_vv, static_cast<void (CWnd::*)()>(&ThisClass::OnClose)},
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() \
  {WM_TIMER, 0, 0, 0, AfxSig_vw, static_cast<void (CWnd::*)(UINT_PTR)>(&ThisClass::OnTimer)},
// LRESULT memberFxn(WPARAM wParam, LPARAM lParam) for the window message message
#define ON_MESSAGE(message, memberFxn) \
  {static_cast<UINT>(message),         \
   0,                                  \
   0,                                  \
   0,                                  \
   AfxSig_lwl,                         \
   static_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn)},
// void memberFxn() for a menu command or a button's BN_CLICKED
#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND,                    \
   0,                             \
   static_cast<UINT>(id),         \
   static_cast<UINT>(id),         \
   AfxSigCmd_v,                   \
   static_cast<void (CCmdTarget::*)()>(&ThisClass::memberFxn)},
// void memberFxn(NMHDR* pNotifyStruct, LRESULT* pResult)
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
  {WM_NOTIFY,                                 \
   static_cast<UINT>(wNotifyCode),            \
   static_cast<UINT>(id),                     \
   static_cast<UINT>(id),                     \
   AfxSigNotify_v,                            \
   static_cast<void (CCmdTarget::*)(NMHDR*, LRESULT*)>(&ThisClass::memberFxn)},

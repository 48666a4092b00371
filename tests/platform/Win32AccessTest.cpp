// The accessibility tree through MSAA, read in-process as a screen reader reads it: a window of the
// test's own shows a published tree; its client object is asked for as AccessibleObjectFromWindow
// asks, and walked, enumerated, pressed and held past the elements and the window it stood for.
#include "AccessWindow.h"
#include "Accessibility.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int32_t, uint8_t>> gRan;
bool Note(int32_t id, uint8_t action) {
  gRan.emplace_back(id, action);
  return true;
}

std::vector<DWORD> gEvents;
void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND, LONG, LONG, DWORD, DWORD) { gEvents.push_back(event); }

// A screen holding a panel with a label, and a button beside the panel.
TAccessTree Page() {
  TAccessTree t;
  t.Nodes = {
      {0, -1, AccessRoleScreen, 0, 0, "page", 0, 0, 320, 240},
      {1, 0, AccessRoleGroup, AccessFocusable, AccessActionFocus, "", 10, 10, 110, 110},
      {2, 1, AccessRoleText, 0, 0, "hello", 20, 20, 60, 30},
      {3, 0, AccessRoleButton, AccessFocusable, AccessActionPress | AccessActionFocus, "exit", 200, 150, 260, 180}};
  return t;
}

VARIANT Self() {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}
VARIANT ChildId(LONG id) {
  VARIANT v = Self();
  v.lVal = id;
  return v;
}

LONG Role(IAccessible* object, VARIANT child = Self()) {
  VARIANT role;
  VariantInit(&role);
  object->get_accRole(child, &role);
  return role.vt == VT_I4 ? role.lVal : -1;
}

// The object a VT_DISPATCH answer holds (null for any other), one reference for the caller.
IAccessible* ObjectOf(VARIANT& v) {
  IAccessible* object = nullptr;
  if (v.vt == VT_DISPATCH && v.pdispVal)
    v.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&object));
  VariantClear(&v);
  return object;
}

void TakeMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

class Win32AccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "AccessTest";
    RegisterClassExA(&wc);
    window_ = CreateWindowExA(0, "AccessTest", "GUI  DEMO", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 400, 300, nullptr,
                              nullptr, wc.hInstance, nullptr);
    own_ = GetWindowLongPtrA(window_, GWLP_WNDPROC);
    SetAccessWindow(window_);
    SetAccessActionHandler(Note);
    PublishAccessTree(Page());
    ASSERT_EQ(AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&client_)),
              S_OK);
  }
  void TearDown() override {
    if (client_) client_->Release();
    SetAccessWindow(nullptr);
    DestroyWindow(window_);
    SetAccessActionHandler(nullptr);
    gRan.clear();
    CoUninitialize();
  }
  // The page's object: the client's first child.
  IAccessible* Screen() {
    VARIANT v;
    client_->accNavigate(NAVDIR_FIRSTCHILD, Self(), &v);
    return ObjectOf(v);
  }
  HWND window_ = nullptr;
  LONG_PTR own_ = 0;
  IAccessible* client_ = nullptr;
};

TEST_F(Win32AccessTest, TheTreeReadsWithItsPlacesAndNavigation) {
  EXPECT_EQ(Role(client_), ROLE_SYSTEM_CLIENT);
  BSTR action = nullptr;
  EXPECT_EQ(client_->get_accDefaultAction(Self(), &action), S_FALSE);  // the client itself does nothing
  IDispatch* above = nullptr;
  ASSERT_EQ(client_->get_accParent(&above), S_OK);
  IAccessible* frame = nullptr;
  above->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&frame));
  above->Release();
  ASSERT_NE(frame, nullptr);  // the system's object of the window
  frame->Release();
  ASSERT_EQ(AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&frame)),
            S_OK);
  EXPECT_NE(Role(frame), ROLE_SYSTEM_CLIENT);  // the window's is the system's to answer, not ours
  frame->Release();

  IAccessible* screen = Screen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(Role(screen), ROLE_SYSTEM_PANE);
  ASSERT_EQ(screen->get_accParent(&above), S_OK);
  IAccessible* parent = nullptr;
  above->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&parent));
  above->Release();
  EXPECT_EQ(Role(parent), ROLE_SYSTEM_CLIENT);
  parent->Release();
  // The panel has children: an object; the button is a simple element of the page.
  VARIANT first, last;
  screen->accNavigate(NAVDIR_FIRSTCHILD, Self(), &first);
  IAccessible* panel = ObjectOf(first);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(Role(panel), ROLE_SYSTEM_GROUPING);
  panel->Release();
  screen->accNavigate(NAVDIR_LASTCHILD, Self(), &last);
  ASSERT_EQ(last.vt, VT_I4);
  EXPECT_EQ(Role(screen, last), ROLE_SYSTEM_PUSHBUTTON);
  ASSERT_EQ(screen->get_accDefaultAction(last, &action), S_OK);
  EXPECT_STREQ(action, L"Press");
  SysFreeString(action);
  POINT origin{0, 0};
  ClientToScreen(window_, &origin);
  LONG x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(screen->accLocation(&x, &y, &w, &h, last), S_OK);
  EXPECT_EQ(std::vector<LONG>({x, y, w, h}), std::vector<LONG>({origin.x + 200, origin.y + 150, 60, 30}));

  // The enumeration of the page's two children, in steps.
  IEnumVARIANT* children = nullptr;
  ASSERT_EQ(screen->QueryInterface(__uuidof(IEnumVARIANT), reinterpret_cast<void**>(&children)), S_OK);
  VARIANT items[2];
  ULONG fetched = 0;
  EXPECT_EQ(children->Skip(1), S_OK);
  EXPECT_EQ(children->Next(2, items, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  EXPECT_EQ(items[0].vt, VT_I4);  // the button
  EXPECT_EQ(children->Reset(), S_OK);
  EXPECT_EQ(children->Next(2, items, &fetched), S_OK);
  EXPECT_EQ(items[0].vt, VT_DISPATCH);  // the panel
  VariantClear(&items[0]);
  children->Release();
  screen->Release();
}

TEST_F(Win32AccessTest, ActionsRunOnTheWindowsThreadAndEventsTellWhatChanged) {
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_NAMECHANGE, nullptr, OnEvent,
                                       GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  IAccessible* screen = Screen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->accDoDefaultAction(ChildId(4)), S_OK);  // the button: its ID + 1
  EXPECT_EQ(screen->accSelect(SELFLAG_TAKEFOCUS, Self()), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(client_->accDoDefaultAction(ChildId(3)), DISP_E_MEMBERNOTFOUND);  // the label
  TakeMessages();                                                             // the window's thread runs them
  EXPECT_EQ(gRan, (std::vector<std::pair<int32_t, uint8_t>>{{3, AccessActionPress}}));

  // A renamed button is a name change; a node gone changes the shape.
  TAccessTree renamed = Page();
  renamed.Nodes[3].Name = "quit";
  gEvents.clear();
  PublishAccessTree(renamed);
  TakeMessages();
  EXPECT_EQ(gEvents, std::vector<DWORD>{EVENT_OBJECT_NAMECHANGE});
  renamed.Nodes.pop_back();
  gEvents.clear();
  PublishAccessTree(renamed);
  TakeMessages();
  EXPECT_EQ(gEvents, std::vector<DWORD>{EVENT_OBJECT_REORDER});
  UnhookWinEvent(hook);
  screen->Release();
}

TEST_F(Win32AccessTest, HeldObjectsFailOnceTheirElementsOrTheWindowGo) {
  IAccessible* screen = Screen();
  VARIANT first;
  screen->accNavigate(NAVDIR_FIRSTCHILD, Self(), &first);
  IAccessible* panel = ObjectOf(first);
  ASSERT_NE(panel, nullptr);
  // The panel goes and comes back: the object held for it stays gone; the page's still works.
  TAccessTree without = Page();
  without.Nodes.erase(without.Nodes.begin() + 1, without.Nodes.begin() + 3);
  PublishAccessTree(without);
  PublishAccessTree(Page());
  EXPECT_EQ(Role(screen), ROLE_SYSTEM_PANE);
  EXPECT_EQ(Role(panel), -1);

  SetAccessWindow(nullptr);
  EXPECT_EQ(GetWindowLongPtrA(window_, GWLP_WNDPROC), own_);  // the window's procedure is its own again
  LONG count = 0;
  EXPECT_TRUE(FAILED(client_->get_accChildCount(&count)));
  panel->Release();
  screen->Release();
}

}  // namespace

// Win32 backend: MSAA's IAccessible over the published accessibility tree. The window's client
// object has the screens as its children; a node with children (a screen, a panel) is an object of
// its own, a node without is a simple element of its parent. Child IDs are one namespace for the
// whole window (Win32Access.h), so every object answers for any node of the tree by its child ID, as
// AccessibleObjectFromEvent needs of the client object for NotifyWinEvent's IDs. Each call reads the
// last published copy under the data's lock; presses and the focus are posted to the window, whose
// thread runs them. Once the window has gone every call fails with CO_E_OBJNOTCONNECTED.
#include "Win32Access.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <type_traits>

// Interface IDs are taken with __uuidof: MinGW's oleacc import library also has IID_IAccessible and
// LIBID_Accessibility, as import thunks, not as the GUIDs, which a link may pick up before uuid's.
namespace win32_access {
namespace {

constexpr GUID kAccessibilityLibrary = {0x1ea4dbf0, 0x3c3b, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

HRESULT Text(BSTR text, BSTR* out) {
  *out = text;
  return text ? S_OK : E_OUTOFMEMORY;
}

HRESULT Empty(VARIANT* out, HRESULT result) {
  VariantInit(out);
  return result;
}

class AccessObject final : public IAccessible, public IEnumVARIANT {
 public:
  AccessObject(uint32_t generation, bool client, int32_t id) : generation_(generation), client_(client), id_(id) {}

  // ---- IUnknown, for both interfaces ----
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
      *out = static_cast<IAccessible*>(this);
    else if (iid == __uuidof(IEnumVARIANT))
      *out = static_cast<IEnumVARIANT*>(this);
    else
      return *out = nullptr, E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // ---- IDispatch, through the type library of oleacc ----
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return count ? (*count = 1, S_OK) : E_POINTER; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeLib* library = nullptr;
    HRESULT hr = LoadRegTypeLib(kAccessibilityLibrary, 1, 1, 0, &library);
    if (FAILED(hr)) return hr;
    hr = library->GetTypeInfoOfGuid(__uuidof(IAccessible), info);
    library->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override {
    ITypeInfo* info = nullptr;
    HRESULT hr = GetTypeInfo(0, lcid, &info);
    if (FAILED(hr)) return hr;
    hr = DispGetIDsOfNames(info, names, count, ids);
    info->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* badArgument) override {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* info = nullptr;
    HRESULT hr = GetTypeInfo(0, lcid, &info);
    if (FAILED(hr)) return hr;
    hr = DispInvoke(static_cast<IAccessible*>(this), info, member, flags, params, result, exception, badArgument);
    info->Release();
    return hr;
  }

  // ---- the tree ----
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    Win32AccessData& d = AccessData();
    HWND window;
    {
      std::lock_guard<std::mutex> lock(d.Lock);
      int self;
      const HRESULT hr = FindSelf(d, self);
      if (FAILED(hr)) return hr;
      if (self != kClient) {
        const int above = d.Nodes[static_cast<size_t>(self)].Parent;
        *parent = above == kClient ? ClientObject(d) : ContainerObject(d, d.Nodes[static_cast<size_t>(above)].ID);
        return *parent ? S_OK : E_OUTOFMEMORY;
      }
      window = d.Window;
    }
    // The client's parent is the window's own object, as the system makes it.
    return CreateStdAccessibleObject(window, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    Win32AccessData& d = AccessData();
    std::lock_guard<std::mutex> lock(d.Lock);
    int self;
    const HRESULT hr = FindSelf(d, self);
    if (FAILED(hr)) return hr;
    for (const TAccessNode& node : d.Nodes) *count += node.Parent == self ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    Win32AccessData& d = AccessData();
    std::lock_guard<std::mutex> lock(d.Lock);
    int self, at;
    HRESULT hr = Find(d, child, self, at);
    if (FAILED(hr)) return hr;
    if (at == self) return E_INVALIDARG;
    if (FirstChild(d.Nodes, at) == kMissing) return S_FALSE;  // a simple element
    *object = ContainerObject(d, d.Nodes[static_cast<size_t>(at)].ID);
    return *object ? S_OK : E_OUTOFMEMORY;
  }

  // ---- what a node is ----
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Read(child, name, [](const Win32AccessData& d, int at, BSTR* out) {
      if (at == kClient) return Text(SysAllocString(d.Title.c_str()), out);
      const std::string& text = d.Nodes[static_cast<size_t>(at)].Name;
      return text.empty() ? S_FALSE : Text(Utf8ToBstr(text), out);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Read(child, action, [](const Win32AccessData& d, int at, BSTR* out) {
      const bool presses = at != kClient && (d.Nodes[static_cast<size_t>(at)].Actions & AccessActionPress);
      return presses ? Text(SysAllocString(L"Press"), out) : S_FALSE;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return Read(child, role, [](const Win32AccessData& d, int at, VARIANT* out) {
      out->vt = VT_I4;
      out->lVal = at == kClient ? ROLE_SYSTEM_CLIENT : RoleOf(d.Nodes[static_cast<size_t>(at)].Role);
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return Read(child, state, [](const Win32AccessData& d, int at, VARIANT* out) {
      out->vt = VT_I4;
      if (at != kClient) {
        out->lVal = StateOf(d.Nodes[static_cast<size_t>(at)]);
      } else {
        const bool focused = GetForegroundWindow() == d.Window &&
                             std::none_of(d.Nodes.begin(), d.Nodes.end(),
                                          [](const TAccessNode& n) { return (n.States & AccessFocused) != 0; });
        out->lVal = STATE_SYSTEM_FOCUSABLE | (focused ? STATE_SYSTEM_FOCUSED : 0);
      }
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    Win32AccessData& d = AccessData();
    std::lock_guard<std::mutex> lock(d.Lock);  // ClientToScreen asks the window's thread nothing
    int self, at;
    const HRESULT hr = Find(d, child, self, at);
    if (FAILED(hr)) return hr;
    const RECT r = Bounds(d, at);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  // Values, descriptions, help and shortcuts: the tree has none.
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* out) override { return None(out); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* out) override { return None(out); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override { return None(out); }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) override { return None(out); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
    if (topic) *topic = -1;
    return None(file);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    return out ? Empty(out, DISP_E_MEMBERNOTFOUND) : E_POINTER;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  // ---- where things are ----
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    Win32AccessData& d = AccessData();
    std::lock_guard<std::mutex> lock(d.Lock);
    int self;
    const HRESULT hr = FindSelf(d, self);
    if (FAILED(hr)) return hr;
    for (size_t i = 0; i < d.Nodes.size(); ++i)
      if ((d.Nodes[i].States & AccessFocused) && Within(d.Nodes, static_cast<int>(i), self))
        return Element(d, static_cast<int>(i), self, focus);
    if (self == kClient && GetForegroundWindow() == d.Window) return Element(d, self, self, focus);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    VariantInit(hit);
    Win32AccessData& d = AccessData();
    std::lock_guard<std::mutex> lock(d.Lock);
    int self;
    const HRESULT hr = FindSelf(d, self);
    if (FAILED(hr)) return hr;
    const POINT point{x, y};
    const auto holds = [&](int at) {
      const RECT r = Bounds(d, at);
      return PtInRect(&r, point) != FALSE;
    };
    if (!holds(self)) return S_FALSE;
    // The last node that holds the point lies deepest and on top.
    for (int i = static_cast<int>(d.Nodes.size()) - 1; i >= 0; --i)
      if (i != self && Within(d.Nodes, i, self) && holds(i)) return Element(d, i, self, hit);
    return Element(d, self, self, hit);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    VariantInit(end);
    Win32AccessData& d = AccessData();
    std::lock_guard<std::mutex> lock(d.Lock);
    int self, at;
    const HRESULT hr = Find(d, start, self, at);
    if (FAILED(hr)) return hr;
    int to;
    switch (direction) {
      case NAVDIR_FIRSTCHILD:
        to = FirstChild(d.Nodes, at);
        break;
      case NAVDIR_LASTCHILD:
        to = FirstChild(d.Nodes, at);
        for (int next = to; next != kMissing; next = NextSibling(d.Nodes, next, 1)) to = next;
        break;
      case NAVDIR_NEXT:
      case NAVDIR_PREVIOUS:
        // The client's siblings are the window's business.
        to = at == kClient ? kMissing : NextSibling(d.Nodes, at, direction == NAVDIR_NEXT ? 1 : -1);
        break;
      case NAVDIR_UP:
      case NAVDIR_DOWN:
      case NAVDIR_LEFT:
      case NAVDIR_RIGHT:
        return DISP_E_MEMBERNOTFOUND;
      default:
        return E_INVALIDARG;
    }
    return to == kMissing ? S_FALSE : Element(d, to, self, end);
  }

  // ---- what a screen reader does ----
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return Act(child, AccessActionPress); }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return flags == SELFLAG_TAKEFOCUS ? Act(child, AccessActionFocus) : DISP_E_MEMBERNOTFOUND;
  }

  // ---- IEnumVARIANT: the object's children ----
  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
    if (!items || (count > 1 && !fetched)) return E_INVALIDARG;
    if (fetched) *fetched = 0;
    Win32AccessData& d = AccessData();
    std::lock_guard<std::mutex> lock(d.Lock);
    int self;
    const HRESULT hr = FindSelf(d, self);
    if (FAILED(hr)) return hr;
    ULONG seen = 0, taken = 0;
    for (size_t i = 0; i < d.Nodes.size() && taken < count; ++i) {
      if (d.Nodes[i].Parent != self || seen++ < cursor_) continue;
      VariantInit(&items[taken]);
      Element(d, static_cast<int>(i), self, &items[taken++]);
    }
    cursor_ += taken;
    if (fetched) *fetched = taken;
    return taken == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    LONG children = 0;
    const HRESULT hr = get_accChildCount(&children);
    if (FAILED(hr)) return hr;
    Win32AccessData& d = AccessData();
    std::lock_guard<std::mutex> lock(d.Lock);
    const ULONG left = static_cast<ULONG>(children) > cursor_ ? static_cast<ULONG>(children) - cursor_ : 0;
    cursor_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    std::lock_guard<std::mutex> lock(AccessData().Lock);
    cursor_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
    if (!copy) return E_POINTER;
    auto* object = new (std::nothrow) AccessObject(generation_, client_, id_);
    *copy = object;
    if (!object) return E_OUTOFMEMORY;
    std::lock_guard<std::mutex> lock(AccessData().Lock);
    object->cursor_ = cursor_;
    return S_OK;
  }

 private:
  // This object's node (kClient for the client): CO_E_OBJNOTCONNECTED once its window has gone,
  // E_FAIL while its element is not shown.
  HRESULT FindSelf(const Win32AccessData& d, int& self) const {
    if (!d.Window || d.Generation != generation_) return CO_E_OBJNOTCONNECTED;
    self = client_ ? kClient : IndexOfId(d.Nodes, id_);
    return self == kMissing ? E_FAIL : S_OK;
  }
  // And the node that `child` names: this object's (CHILDID_SELF) or any of the window's.
  HRESULT Find(const Win32AccessData& d, const VARIANT& child, int& self, int& at) const {
    const HRESULT hr = FindSelf(d, self);
    if (FAILED(hr)) return hr;
    if (child.vt != VT_I4) return E_INVALIDARG;
    at = child.lVal == CHILDID_SELF ? self : IndexOfChildId(d.Nodes, child.lVal);
    return at == kMissing ? E_INVALIDARG : S_OK;
  }
  // A node as a call returns it: CHILDID_SELF for this object, an object for a node with children
  // (or the client), the child ID of a simple element.
  static HRESULT Element(Win32AccessData& d, int at, int self, VARIANT* out) {
    if (at != self && (at == kClient || FirstChild(d.Nodes, at) != kMissing)) {
      IAccessible* object = at == kClient ? ClientObject(d) : ContainerObject(d, d.Nodes[static_cast<size_t>(at)].ID);
      if (!object) return E_OUTOFMEMORY;
      out->vt = VT_DISPATCH;
      out->pdispVal = object;
      return S_OK;
    }
    out->vt = VT_I4;
    out->lVal = at == self ? CHILDID_SELF : ChildIdOf(d.Nodes[static_cast<size_t>(at)].ID);
    return S_OK;
  }
  template <class Out, class Reader>
  HRESULT Read(const VARIANT& child, Out* out, Reader reader) const {
    if (!out) return E_POINTER;
    if constexpr (std::is_same_v<Out, VARIANT>)
      VariantInit(out);
    else
      *out = nullptr;
    Win32AccessData& d = AccessData();
    std::lock_guard<std::mutex> lock(d.Lock);
    int self, at;
    const HRESULT hr = Find(d, child, self, at);
    return FAILED(hr) ? hr : reader(d, at, out);
  }
  static HRESULT None(BSTR* out) { return out ? (*out = nullptr, DISP_E_MEMBERNOTFOUND) : E_POINTER; }
  // Hands an action to the window's thread, which runs it in the toolkit's next frame.
  HRESULT Act(const VARIANT& child, uint8_t action) const {
    Win32AccessData& d = AccessData();
    std::lock_guard<std::mutex> lock(d.Lock);
    int self, at;
    const HRESULT hr = Find(d, child, self, at);
    if (FAILED(hr)) return hr;
    if (at == kClient || !(d.Nodes[static_cast<size_t>(at)].Actions & action)) return DISP_E_MEMBERNOTFOUND;
    const auto id = static_cast<uint32_t>(d.Nodes[static_cast<size_t>(at)].ID);
    return PostMessageW(d.Window, d.ActionMessage, id, action) ? S_OK : E_FAIL;
  }

  std::atomic<ULONG> references_{1};
  const uint32_t generation_;
  const bool client_;
  const int32_t id_;
  ULONG cursor_ = 0;  // the enumeration's place, under the data's lock
};

}  // namespace

IAccessible* NewAccessObject(uint32_t generation, bool client, int32_t id) {
  return new (std::nothrow) AccessObject(generation, client, id);
}

IAccessible* ClientObject(Win32AccessData& d) {
  if (!d.Client) d.Client = NewAccessObject(d.Generation, true, 0);
  if (d.Client) d.Client->AddRef();
  return d.Client;
}

IAccessible* ContainerObject(Win32AccessData& d, int32_t id) {
  for (const auto& entry : d.Containers)
    if (entry.first == id) return entry.second->AddRef(), entry.second;
  IAccessible* object = NewAccessObject(d.Generation, false, id);
  if (!object) return nullptr;
  d.Containers.emplace_back(id, object);
  object->AddRef();
  return object;
}

}  // namespace win32_access

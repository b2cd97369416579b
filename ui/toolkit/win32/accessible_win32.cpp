#include "ui/toolkit/win32/accessible_win32.h"

#include <oleacc.h>

#include <deque>
#include <new>
#include <vector>

#include "core/log.h"
#include "ui/toolkit/application.h"
#include "ui/toolkit/backend_win32.h"
#include "ui/toolkit/control.h"
#include "ui/toolkit/focus_proxy.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/win32_util_win32.h"
#include "ui/toolkit/windowed_control.h"

namespace vm::ui::win32 {

namespace {

// Child ids of items lie above every index of a child, so that they never meet.
constexpr LONG kItemIdBase = 0x10000000;
constexpr LONG kItemIdRowStep = 0x1000;  // up to 4095 parts (cells) per item

// The object holds only the control's serial: a reader may keep it after the control went, and
// then every question is answered "no longer there".
struct NodeRef {
  std::uint64_t serial = 0;
  int item = -1;
  int sub = -1;
};

NodeRef RefOf(const AccessNode& node) { return {node.control ? node.control->Serial() : 0, node.item, node.sub}; }

AccessNode Resolve(const NodeRef& ref) {
  Control* c = Control::FromSerial(ref.serial);
  if (!c) return {};
  if (ref.item >= c->AccessibleItemCount(-1)) return {};
  if (ref.item >= 0 && ref.sub >= c->AccessibleItemCount(ref.item)) return {};
  return {c, ref.item, ref.sub};
}

WindowRecord* HostRecord(const AccessNode& node) {
  Control* host = AccessHost(node);
  return host ? Win32Backend::LiveRecord(host->Peer()) : nullptr;
}

// The system's object for a standard control's window (or a window of ours the tree does not
// describe): its window object, whose client part the control answers itself.
IDispatch* SystemObject(HWND hwnd) {
  IDispatch* object = nullptr;
  if (!hwnd || FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                                 reinterpret_cast<void**>(&object))))
    return nullptr;
  return object;
}

DWORD RoleOf(AccessRole role) {
  switch (role) {
    case AccessRole::Client: return ROLE_SYSTEM_CLIENT;
    case AccessRole::Grouping: return ROLE_SYSTEM_GROUPING;
    case AccessRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessRole::CheckBox: return ROLE_SYSTEM_CHECKBUTTON;
    case AccessRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
    case AccessRole::Link: return ROLE_SYSTEM_LINK;
    case AccessRole::Graphic: return ROLE_SYSTEM_GRAPHIC;
    case AccessRole::Table: return ROLE_SYSTEM_TABLE;
    case AccessRole::Row: return ROLE_SYSTEM_ROW;
    case AccessRole::Cell: return ROLE_SYSTEM_CELL;
    case AccessRole::ColumnHeader: return ROLE_SYSTEM_COLUMNHEADER;
    case AccessRole::Clock: return ROLE_SYSTEM_CLOCK;
    case AccessRole::None: break;
  }
  return ROLE_SYSTEM_CLIENT;
}

DWORD StateOf(const AccessNode& node, const AccessInfo& info) {
  const AccessStates& s = info.states;
  DWORD state = 0;
  if (s.focusable) state |= STATE_SYSTEM_FOCUSABLE;
  if (s.focused) state |= STATE_SYSTEM_FOCUSED;
  if (s.pressed) state |= STATE_SYSTEM_PRESSED;
  if (s.checked) state |= STATE_SYSTEM_CHECKED;
  if (s.unavailable) state |= STATE_SYSTEM_UNAVAILABLE;
  if (s.selectable) state |= STATE_SYSTEM_SELECTABLE;
  if (s.selected) state |= STATE_SYSTEM_SELECTED;
  if (s.readOnly) state |= STATE_SYSTEM_READONLY;
  if (s.linked) state |= STATE_SYSTEM_LINKED;
  if (s.offscreen) state |= STATE_SYSTEM_OFFSCREEN;
  if (node.control && !node.control->Showing()) state |= STATE_SYSTEM_INVISIBLE;
  return state;
}

HRESULT Text(const std::string& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  const std::wstring wide = Widen(text);
  *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// The node's place on the screen in device pixels (empty when it has none).
RECT ScreenRect(const AccessNode& node, const AccessInfo& info) {
  RECT r{};
  WindowRecord* host = HostRecord(node);
  if (!host || info.bounds.IsEmpty()) return r;
  r = ToDeviceRect(info.bounds, host->dpi);
  MapWindowPoints(host->hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Whether `node` lies inside `ancestor` (or is it).
bool Within(AccessNode node, const AccessNode& ancestor) {
  for (int guard = 0; node.control && guard < 64; ++guard) {
    if (node == ancestor) return true;
    node = AccessParent(node);
  }
  return false;
}

std::deque<NodeRef>& PendingActions() {
  static std::deque<NodeRef> pending;
  return pending;
}

class AccessibleObject final : public IAccessible {
 public:
  explicit AccessibleObject(const AccessNode& node) : ref_(RefOf(node)) {}

  // ---- IUnknown ----
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // ---- IDispatch: readers call the interface directly ----
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // ---- IAccessible ----
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    const AccessNode node = Resolve(ref_);
    if (!node.control) return RPC_E_DISCONNECTED;
    const AccessNode up = AccessParent(node);
    if (up.control) {
      *parent = new (std::nothrow) AccessibleObject(up);
      if (*parent) (*parent)->AddRef();
    } else if (WindowRecord* host = HostRecord(node)) {
      *parent = SystemObject(host->hwnd);  // the form's window, with its title bar and frame
    }
    return *parent ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    const AccessNode node = Resolve(ref_);
    if (!node.control) return RPC_E_DISCONNECTED;
    *count = static_cast<long>(AccessChildren(node).size());
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessNode node;
    if (HRESULT hr = ChildNode(child, node); hr != S_OK) return hr;
    if (node == Resolve(ref_)) return E_INVALIDARG;
    *out = ObjectOf(node);
    return *out ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Ask(child, name, [](const AccessInfo& info) { return info.name; });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Ask(child, value, [](const AccessInfo& info) { return info.value; });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return Ask(child, text, [](const AccessInfo& info) { return info.description; });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Ask(child, action, [](const AccessInfo& info) { return info.defaultAction; });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
    if (help) *help = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override {
    if (keys) *keys = nullptr;
    return S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    VariantInit(role);
    AccessNode node;
    if (HRESULT hr = ChildNode(child, node); hr != S_OK) return hr;
    role->vt = VT_I4;
    role->lVal = static_cast<LONG>(RoleOf(Describe(node).role));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    VariantInit(state);
    AccessNode node;
    if (HRESULT hr = ChildNode(child, node); hr != S_OK) return hr;
    state->vt = VT_I4;
    state->lVal = static_cast<LONG>(StateOf(node, Describe(node)));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    const AccessNode self = Resolve(ref_);
    if (!self.control) return RPC_E_DISCONNECTED;
    Form* form = self.control->FormOrNull();
    if (!form) return S_FALSE;
    const AccessNode focused = AccessFocus(*form);
    if (!Within(focused, self)) return S_FALSE;
    if (focused == self) {
      focus->vt = VT_I4;
      focus->lVal = CHILDID_SELF;
      return S_OK;
    }
    focus->pdispVal = ObjectOf(focused);
    if (!focus->pdispVal) return S_FALSE;
    focus->vt = VT_DISPATCH;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (selection) VariantInit(selection);
    return S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    AccessNode node;
    if (HRESULT hr = ChildNode(child, node); hr != S_OK) return hr;
    if ((flags & SELFLAG_TAKEFOCUS) == 0) return S_FALSE;
    WindowedControl* target = nullptr;
    if (node.control->IsWindowed()) target = node.control->AsWindowed();
    else target = node.control->KeyboardProxy();
    if (!target || !target->CanFocus()) return S_FALSE;
    target->SetFocus();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    AccessNode node;
    if (HRESULT hr = ChildNode(child, node); hr != S_OK) return hr;
    const RECT r = ScreenRect(node, Describe(node));
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    VariantInit(end);
    AccessNode from;
    if (HRESULT hr = ChildNode(start, from); hr != S_OK) return hr;
    AccessNode to;
    if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
      const std::vector<AccessNode> kids = AccessChildren(from);
      if (kids.empty()) return S_FALSE;
      to = direction == NAVDIR_FIRSTCHILD ? kids.front() : kids.back();
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS) {
      const std::vector<AccessNode> siblings = AccessChildren(AccessParent(from));
      for (std::size_t i = 0; i < siblings.size(); ++i) {
        if (!(siblings[i] == from)) continue;
        if (direction == NAVDIR_NEXT && i + 1 < siblings.size()) to = siblings[i + 1];
        if (direction == NAVDIR_PREVIOUS && i > 0) to = siblings[i - 1];
      }
      if (!to.control) return S_FALSE;
    } else {
      return E_NOTIMPL;
    }
    end->pdispVal = ObjectOf(to);
    if (!end->pdispVal) return S_FALSE;
    end->vt = VT_DISPATCH;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    VariantInit(hit);
    const AccessNode self = Resolve(ref_);
    if (!self.control) return RPC_E_DISCONNECTED;
    const POINT at{x, y};
    AccessNode found = self;
    for (bool deeper = true; deeper;) {
      deeper = false;
      for (const AccessNode& child : AccessChildren(found)) {
        const AccessInfo info = Describe(child);
        RECT r = info.system ? RECT{} : ScreenRect(child, info);
        if (info.system) GetWindowRect(Win32Backend::WindowOf(child.control->Peer()), &r);
        if (!PtInRect(&r, at)) continue;
        found = child;
        deeper = !info.system;
        break;
      }
    }
    if (found == self) {
      RECT mine = ScreenRect(self, Describe(self));
      if (!PtInRect(&mine, at)) return S_FALSE;
      hit->vt = VT_I4;
      hit->lVal = CHILDID_SELF;
      return S_OK;
    }
    hit->pdispVal = ObjectOf(found);
    if (!hit->pdispVal) return S_FALSE;
    hit->vt = VT_DISPATCH;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    AccessNode node;
    if (HRESULT hr = ChildNode(child, node); hr != S_OK) return hr;
    if (Describe(node).defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
    WindowRecord* host = HostRecord(node);
    if (!host) return RPC_E_DISCONNECTED;
    PendingActions().push_back(RefOf(node));
    PostMessageW(GetAncestor(host->hwnd, GA_ROOT), AccessActionMessage(), 0, 0);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  // The object a reader gets for a node: the system's for a standard control, ours otherwise.
  static IDispatch* ObjectOf(const AccessNode& node) {
    if (Describe(node).system && node.item < 0) return SystemObject(Win32Backend::WindowOf(node.control->Peer()));
    auto* object = new (std::nothrow) AccessibleObject(node);
    if (object) object->AddRef();
    return object;
  }

 private:
  // The node a VARIANT child id names: this object (CHILDID_SELF), its n-th child, or an item
  // of this object's control (ItemChildId, as focus events name a grid's cell).
  HRESULT ChildNode(const VARIANT& child, AccessNode& node) const {
    const AccessNode self = Resolve(ref_);
    if (!self.control) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    if (child.lVal == CHILDID_SELF) {
      node = self;
      return S_OK;
    }
    int item = -1, sub = -1;
    if (ItemOfChildId(child.lVal, item, sub)) {
      node = Resolve(NodeRef{self.control->Serial(), item, sub});
      return node.control && self.IsControl() ? S_OK : E_INVALIDARG;
    }
    const std::vector<AccessNode> kids = AccessChildren(self);
    if (child.lVal < 1 || child.lVal > static_cast<LONG>(kids.size())) return E_INVALIDARG;
    node = kids[static_cast<std::size_t>(child.lVal - 1)];
    return S_OK;
  }

  template <class Field>
  HRESULT Ask(const VARIANT& child, BSTR* out, Field field) const {
    if (!out) return E_POINTER;
    *out = nullptr;
    AccessNode node;
    if (HRESULT hr = ChildNode(child, node); hr != S_OK) return hr;
    return Text(field(Describe(node)), out);
  }

  NodeRef ref_;
  ULONG refs_ = 0;
};

// COM must be set up on the user-interface thread before an object is handed out.
bool EnsureApartment() {
  static const bool ready = [] {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
  }();
  return ready;
}

}  // namespace

LONG ItemChildId(int item, int sub) {
  if (item < 0) return CHILDID_SELF;
  return kItemIdBase + static_cast<LONG>(item) * kItemIdRowStep + static_cast<LONG>(sub + 1);
}

bool ItemOfChildId(LONG id, int& item, int& sub) {
  if (id < kItemIdBase) return false;
  const LONG offset = id - kItemIdBase;
  item = static_cast<int>(offset / kItemIdRowStep);
  sub = static_cast<int>(offset % kItemIdRowStep) - 1;
  return true;
}

std::optional<LRESULT> AnswerGetObject(Control& control, WPARAM wp, LPARAM lp) {
  if (static_cast<DWORD>(lp) != static_cast<DWORD>(OBJID_CLIENT)) return std::nullopt;
  AccessNode node{&control};
  if (auto* proxy = control.AsFocusProxy()) {
    if (!proxy->Target()) return std::nullopt;
    node = {proxy->Target()};
  }
  if (!EnsureApartment()) return std::nullopt;
  auto* object = new (std::nothrow) AccessibleObject(node);
  if (!object) return std::nullopt;
  object->AddRef();
  const LRESULT result = LresultFromObject(IID_IAccessible, wp, static_cast<IAccessible*>(object));
  object->Release();  // the reference LresultFromObject took keeps it
  if (result < 0) {
    // Once: a screen reader asks again and again.
    static bool told = false;
    if (!told) WriteLog(" Accessible object not handed out: 0x%08lX", static_cast<unsigned long>(result));
    told = true;
  }
  return result;
}

void NotifyAccessibleEvent(HWND hwnd, AccessEvent event, int item, int sub) {
  if (!hwnd) return;
  DWORD kind = EVENT_OBJECT_FOCUS;
  switch (event) {
    case AccessEvent::Focus: kind = EVENT_OBJECT_FOCUS; break;
    case AccessEvent::StateChange: kind = EVENT_OBJECT_STATECHANGE; break;
    case AccessEvent::NameChange: kind = EVENT_OBJECT_NAMECHANGE; break;
    case AccessEvent::ValueChange: kind = EVENT_OBJECT_VALUECHANGE; break;
  }
  NotifyWinEvent(kind, hwnd, OBJID_CLIENT, ItemChildId(item, sub));
}

UINT AccessActionMessage() {
  static const UINT message = RegisterWindowMessageW(L"VemtaroAccessibleAction");
  return message;
}

void RunPendingAccessActions() {
  auto& pending = PendingActions();
  while (!pending.empty()) {
    const NodeRef ref = pending.front();
    pending.pop_front();
    const AccessNode node = Resolve(ref);
    Form* form = node.control ? node.control->FormOrNull() : nullptr;
    if (!form) continue;
    Application::DispatchScope scope(form->App());  // a form the action releases goes afterwards
    DoAccessDefaultAction(node);
  }
}

}  // namespace vm::ui::win32

#pragma once
// What the Windows tests ask of accessible objects, as a screen reader asks (oleacc), and the
// form they ask it of: a text, a themed button, an edit and a grid.

#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "win32/toolkit_support_win32.h"

#include "theme/dbut.h"

namespace vm::ui::testing {

inline VARIANT Id(long id = CHILDID_SELF) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

inline std::string NameOf(IAccessible* object, VARIANT child = Id()) {
  BSTR name = nullptr;
  if (object->get_accName(child, &name) != S_OK || !name) return {};
  std::string text = win32::Narrow(name);
  SysFreeString(name);
  return text;
}

// The role or the state (`state` true) as a number; -1 when the object does not answer.
inline long AskNumber(IAccessible* object, bool state, VARIANT child = Id()) {
  VARIANT v;
  VariantInit(&v);
  const HRESULT hr = state ? object->get_accState(child, &v) : object->get_accRole(child, &v);
  return SUCCEEDED(hr) && v.vt == VT_I4 ? v.lVal : -1;
}

inline IAccessible* AsAccessible(IDispatch* dispatch) {
  IAccessible* object = nullptr;
  if (dispatch) dispatch->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
  if (dispatch) dispatch->Release();
  return object;
}

// The children as objects; the caller releases them.
inline std::vector<IAccessible*> Children(IAccessible* parent) {
  long count = 0;
  parent->get_accChildCount(&count);
  std::vector<VARIANT> raw(static_cast<std::size_t>(count));
  long got = 0;
  std::vector<IAccessible*> out;
  if (count > 0 && SUCCEEDED(AccessibleChildren(parent, 0, count, raw.data(), &got)))
    for (long i = 0; i < got; ++i) out.push_back(raw[i].vt == VT_DISPATCH ? AsAccessible(raw[i].pdispVal) : nullptr);
  return out;
}

class ReaderForm : public Form {
 public:
  explicit ReaderForm(Application& app) : Form(app, "ReaderForm") {
    SetBounds(100, 100, 360, 260);
    SetCaption("Reader test");
    Heading.SetBounds(8, 8, 120, 16);
    Heading.SetCaption("Alarm was set to:");
    Stop.SetBounds(8, 30, 41, 25);
    Stop.SetHint("Stop");
    Name.SetBounds(60, 30, 120, 22);
    Table.SetBounds(8, 70, 300, 100);
    Table.SetColCount(2);
    Table.SetRowCount(3);
    Table.SetCell(1, 0, "Message");
    Table.SetCell(0, 1, "1 Mar 2027");
    Table.SetCell(1, 1, "Wake up");
  }
  Label Heading{*this, "Heading"};
  Image Stop{*this, "Stop"};
  Edit Name{*this, "Name"};
  StringGrid Table{*this, "Table"};
};

class AccessibleWin32Fixture : public Win32ToolkitTest {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    frames.SetMasked(false);
    for (int f = 0; f < 3; ++f) frames.Add(Bitmap(20, 23, 0xFF404040u));
    stop = std::make_unique<theme::DBut>(form.Stop, form, nullptr, frames);
    stop->SetCaption("X");
    form.Stop.OnClick = [this](Control&) { ++clicks; };
    form.Show();
    PumpFor(50);
    client = ClientOf(Hwnd(form));
    ASSERT_NE(client, nullptr) << "oleacc gave no object for the form's client area";
    children = Children(client);
  }
  void TearDown() override {
    for (IAccessible* c : children)
      if (c) c->Release();
    if (client) client->Release();
  }
  static IAccessible* ClientOf(HWND hwnd) {
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&object));
    return object;
  }

  ReaderForm form{app};
  ImageList frames{20, 23};
  std::unique_ptr<theme::DBut> stop;
  int clicks = 0;
  IAccessible* client = nullptr;
  std::vector<IAccessible*> children;
};

}  // namespace vm::ui::testing

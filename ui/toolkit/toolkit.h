#pragma once
// Vemtaro's form toolkit: the windows' controls as portable C++ objects, mirrored by native
// windows through a backend (Win32, or headless in the tests).
//
// Rules that hold for every control and window:
//
// (a) Events come from users, not from code.
//     Setting a property in code (SetCaption, SetChecked, SetBounds, SetEnabled ...) updates the
//     field and the native window and fires nothing. A user action on the native window - or
//     the same action simulated by the headless backend, which travels the same path - first
//     updates the field, then fires the event, so the handler reads the new state. A handler
//     whose own actions lead back to the same event of the same control (a native window that
//     echoes a change, a nested message loop that delivers the same tick or choice) does not
//     run again while it runs: the state is updated, the nested event is dropped. Changes the
//     toolkit pushes to a native window are never taken for user actions.
//     Two notifications describe the window rather than a user's change and fire whatever the
//     cause: OnResize (once when the window is created and after every change of its size)
//     and OnPaint.
//
// (b) Ownership and lifetime.
//     A form owns its controls, menus and timers: they are declared as members of the window
//     class and constructed with the form (or a container control) as parent, in the order
//     they are declared; controls created at run time are kept by the form's class too. The
//     Application owns the forms made with CreateForm; the first is the main form, and closing
//     it ends the application. The native window is created when the form is realized (first
//     shown, or Realize(), or Handle()) and destroyed with the form. OnCreate fires once: when
//     CreateForm has constructed the form, or, for a form made otherwise, just before its window
//     is first created; OnDestroy fires when the application destroys the form (a form made and
//     deleted by its own owner gets no OnDestroy: its class is already gone by then). Forms not
//     owned by the application must be destroyed before it. A form may ask for its own
//     destruction from any of its handlers (Release(), or CloseAction::Free in OnClose): it is
//     hidden at once and destroyed when control has left every event handler (the outermost
//     dispatch has returned), never while one of its handlers is on the stack.
//
// (c) Coordinates are design pixels (96 DPI). The Win32 backend scales to each monitor's DPI;
//     mouse positions come back in design pixels.
//
// (d) The portable field is the truth; the native window mirrors it. Nothing is read back from a
//     native window except what a user changed there (a window moved or resized by the user);
//     while a form is being destroyed, reports from its window are ignored.
//
// A window class:
//
//   class TForm5 : public vm::ui::Form {
//    public:
//     explicit TForm5(vm::ui::Application& app) : Form(app, "Form5") {
//       SetCaption("About");
//       SetClientSize(300, 200);
//       OkLabel.SetBounds(10, 10, 60, 20);
//       OkLabel.OnClick = vm::ui::Bind(this, &TForm5::OkLabelClick);
//       OnCreate = vm::ui::Bind(this, &TForm5::FormCreate);
//     }
//     vm::ui::Label OkLabel{*this, "OkLabel"};
//     vm::ui::Timer Timer1{*this, "Timer1"};
//     void OkLabelClick(vm::ui::Control& sender) { Close(); }
//     void FormCreate(vm::ui::Control& sender) { ... }
//   };

#include "ui/toolkit/application.h"
#include "ui/toolkit/backend.h"
#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/canvas.h"
#include "ui/toolkit/color.h"
#include "ui/toolkit/control.h"
#include "ui/toolkit/dialogs.h"
#include "ui/toolkit/dpi.h"
#include "ui/toolkit/focus_proxy.h"
#include "ui/toolkit/font.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/geometry.h"
#include "ui/toolkit/graphic_controls.h"
#include "ui/toolkit/image_list.h"
#include "ui/toolkit/input.h"
#include "ui/toolkit/list_view.h"
#include "ui/toolkit/menu.h"
#include "ui/toolkit/page_control.h"
#include "ui/toolkit/range_controls.h"
#include "ui/toolkit/std_controls.h"
#include "ui/toolkit/string_grid.h"
#include "ui/toolkit/text_metrics.h"
#include "ui/toolkit/timer.h"
#include "ui/toolkit/tray_icon.h"
#include "ui/toolkit/web_browser.h"
#include "ui/toolkit/windowed_control.h"

// The peers of the control kinds: a control finds its kind's peer (a class derived from a
// kind gets its base kind's), a class without one is refused with its name, and each kind's
// headless peer mirrors its control from the window's creation on and after each change.
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

// A kind no backend knows.
class Gadget : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  static constexpr ControlClass kClass{"Gadget"};
  const ControlClass& PeerClass() const override { return kClass; }
};

// A control that claims a kind it is not.
class FakeCheckBox : public WindowedControl {
 public:
  using WindowedControl::WindowedControl;
  const ControlClass& PeerClass() const override { return CheckBox::kClass; }
};

// A window's own classes derived from toolkit kinds.
class RoundBox : public CheckBox {
 public:
  using CheckBox::CheckBox;
};
class DigitsEdit : public MaskEdit {
 public:
  using MaskEdit::MaskEdit;
};

template <class Extra>
class OneControlForm : public Form {
 public:
  explicit OneControlForm(Application& app) : Form(app, "OneControlForm") {
    SetClientSize(200, 100);
    Ok.SetBounds(0, 0, 50, 20);
    Odd.SetBounds(0, 30, 50, 20);
  }
  Button Ok{*this, "Ok"};
  Extra Odd{*this, "Odd"};
};

using PeersTest = ToolkitTest;

TEST_F(PeersTest, AKindWithoutPeerIsRefusedByNameAndTheFormStaysWhole) {
  OneControlForm<Gadget> form(app);
  try {
    form.Show();
    FAIL() << "a control without a peer was shown";
  } catch (const ProgramFault& e) {
    EXPECT_NE(std::string(e.what()).find("'Gadget'"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("'Odd'"), std::string::npos) << e.what();
  }
  EXPECT_EQ(form.Odd.Peer(), 0u);
  EXPECT_EQ(backend.ControlPeer(form.Odd), nullptr);
  // The controls made before it keep their windows, and go with the form.
  ASSERT_NE(backend.ControlPeer(form.Ok), nullptr);
  form.Odd.SetCaption("still no window");
  form.Ok.SetCaption("Fine");
  EXPECT_EQ(backend.ControlPeer(form.Ok)->text, "Fine");
}

TEST_F(PeersTest, AControlClaimingAnotherKindsPeerIsRefused) {
  OneControlForm<FakeCheckBox> form(app);
  try {
    form.Show();
    FAIL() << "a control got the peer of a kind it is not";
  } catch (const ProgramFault& e) {
    EXPECT_NE(std::string(e.what()).find("CheckBox"), std::string::npos) << e.what();
  }
  EXPECT_EQ(form.Odd.Peer(), 0u);
  const int windows = backend.LiveControlWindows();
  form.Hide();
  EXPECT_EQ(backend.LiveControlWindows(), windows);
}

TEST_F(PeersTest, ClassesDerivedFromAKindGetTheirBaseKindsPeer) {
  OneControlForm<RoundBox> form(app);
  DigitsEdit digits(form, "Digits");
  Panel panel(form, "Panel");
  form.Show();
  const auto* box = backend.ControlPeer(form.Odd);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->peerClass, "CheckBox");
  EXPECT_EQ(backend.ControlPeer(digits)->peerClass, "Edit");
  EXPECT_EQ(backend.ControlPeer(panel)->peerClass, "Custom");
  // The check box's peer serves it: the mark follows, a click toggles.
  form.Odd.SetChecked(true);
  EXPECT_TRUE(box->checked);
  backend.ClickControl(form.Odd);
  EXPECT_FALSE(form.Odd.Checked());
  EXPECT_FALSE(box->checked);
  digits.SetEditMask("!99;1; ");
  backend.TypeText(digits, "4x2");
  EXPECT_EQ(digits.Text(), "42");
  EXPECT_EQ(backend.ControlPeer(digits)->text, "42");
  // A panel is no button.
  EXPECT_THROW(backend.ClickControl(panel), std::logic_error);
}

class EveryKindForm : public Form {
 public:
  explicit EveryKindForm(Application& app) : Form(app, "EveryKindForm") {
    SetClientSize(400, 300);
    Check.SetChecked(true);
    Name.SetText("Ann");
    Kind.SetItems({"a", "b", "c"});
    Kind.SetItemIndex(2);
    Colors.SetSelected(clRed);
    Bar.SetRange(0, 50);
    Bar.SetPosition(30);
    Spin.SetRange(1, 9);
    Spin.SetPosition(4);
    Status.SetSimpleText("Ready");
    List.AddColumn({"Name", 80});
    List.AddColumn({"Size", 40});
    List.AddItem({"one", {"1"}});
    List.AddItem({"two", {"2"}});
    List.SetItemIndex(1);
    Page.Navigate("C:\\help.htm");
  }
  CheckBox Check{*this, "Check"};
  Edit Name{*this, "Name"};
  Memo Notes{*this, "Notes"};
  ComboBox Kind{*this, "Kind"};
  ColorBox Colors{*this, "Colors"};
  TrackBar Bar{*this, "Bar"};
  UpDown Spin{*this, "Spin"};
  StatusBar Status{*this, "Status"};
  PageControl Pages{*this, "Pages"};
  TabSheet First{Pages, "First"};
  TabSheet Second{Pages, "Second"};
  ListView List{*this, "List"};
  WebBrowser Page{*this, "Page"};
};

class EveryKindTest : public ToolkitTest {
 protected:
  const HeadlessBackend::ControlState& Mirror(const WindowedControl& c) const {
    const auto* state = backend.ControlPeer(c);
    if (!state) throw std::logic_error("no window for " + c.Name());
    return *state;
  }
  EveryKindForm form{app};
};

TEST_F(EveryKindTest, EachWindowShowsItsControlsStateWhenMadeWithoutCountingItAsAnUpdate) {
  form.Pages.SetActivePage(1);
  form.Show();
  EXPECT_TRUE(Mirror(form.Check).checked);
  EXPECT_EQ(Mirror(form.Name).text, "Ann");
  EXPECT_EQ(Mirror(form.Kind).itemCount, 3);
  EXPECT_EQ(Mirror(form.Kind).index, 2);
  EXPECT_EQ(Mirror(form.Colors).index, form.Colors.ItemIndex());
  EXPECT_EQ(Mirror(form.Colors).itemCount, form.Colors.ItemCount());
  EXPECT_EQ(Mirror(form.Bar).index, 30);
  EXPECT_EQ(Mirror(form.Spin).index, 4);
  EXPECT_EQ(Mirror(form.Status).text, "Ready");
  EXPECT_EQ(Mirror(form.Pages).itemCount, 2);
  EXPECT_EQ(Mirror(form.Pages).index, 1);
  EXPECT_EQ(Mirror(form.List).columnCount, 2);
  EXPECT_EQ(Mirror(form.List).rows, (std::vector<std::string>{"one|1", "two|2"}));
  EXPECT_EQ(Mirror(form.List).index, 1);
  EXPECT_EQ(Mirror(form.Page).text, "C:\\help.htm");
  EXPECT_TRUE(form.Page.Hosted());
  for (const WindowedControl* c : std::initializer_list<const WindowedControl*>{
           &form.Check, &form.Name, &form.Notes, &form.Kind, &form.Colors, &form.Bar, &form.Spin, &form.Status,
           &form.Pages, &form.First, &form.List, &form.Page}) {
    EXPECT_TRUE(Mirror(*c).pushes.empty()) << c->Name();
    EXPECT_EQ(Mirror(*c).bounds, c->Bounds()) << c->Name();
  }
}

TEST_F(EveryKindTest, EachWindowFollowsEveryKindOfChange) {
  form.Show();
  // Caption, font and bounds, for every kind alike.
  form.Name.SetText("Bob");
  EXPECT_EQ(Mirror(form.Name).text, "Bob");
  form.Notes.SetBounds(10, 20, 100, 60);
  EXPECT_EQ(Mirror(form.Notes).bounds, Rect::FromXYWH(10, 20, 100, 60));
  form.First.SetCaption("Intro");
  EXPECT_EQ(Mirror(form.First).text, "Intro");
  Font bold = form.Status.GetFont();
  bold.bold = true;
  form.Status.SetFont(bold);
  EXPECT_EQ(Mirror(form.Status).Pushes("FontChanged"), 1);

  form.Check.SetChecked(false);
  EXPECT_FALSE(Mirror(form.Check).checked);
  form.Name.SetReadOnly(true);
  form.Notes.SetWordWrap(false);
  EXPECT_EQ(Mirror(form.Name).Pushes("StyleChanged"), 1);
  EXPECT_EQ(Mirror(form.Notes).Pushes("StyleChanged"), 1);

  form.Kind.AddItem("d");
  EXPECT_EQ(Mirror(form.Kind).itemCount, 4);
  form.Kind.SetItemIndex(0);
  EXPECT_EQ(Mirror(form.Kind).index, 0);
  form.Kind.SetDroppedDown(true);
  EXPECT_TRUE(Mirror(form.Kind).droppedDown);
  form.Colors.SetSelected(clBlue);
  EXPECT_EQ(Mirror(form.Colors).index, form.Colors.ItemIndex());

  form.Bar.SetRange(0, 20);  // the thumb comes back inside the range
  EXPECT_EQ(Mirror(form.Bar).index, 20);
  EXPECT_EQ(Mirror(form.Bar).Pushes("RangeChanged"), 1);
  form.Spin.SetPosition(7);
  EXPECT_EQ(Mirror(form.Spin).index, 7);
  form.Spin.SetArrowKeys(false);
  EXPECT_EQ(Mirror(form.Spin).Pushes("StyleChanged"), 1);

  form.Pages.SetActivePage(1);
  EXPECT_EQ(Mirror(form.Pages).index, 1);
  {
    TabSheet third(form.Pages, "Third");
    EXPECT_EQ(Mirror(form.Pages).itemCount, 3);
  }
  EXPECT_EQ(Mirror(form.Pages).itemCount, 2);
  form.Pages.SetTabWidth(60);
  EXPECT_EQ(Mirror(form.Pages).Pushes("StyleChanged"), 1);

  form.List.InsertItem(0, {"zero", {"0"}});
  form.List.SetItemText(2, 1, "22");
  form.List.DeleteItem(1);
  EXPECT_EQ(Mirror(form.List).rows, (std::vector<std::string>{"zero|0", "two|22"}));
  EXPECT_EQ(Mirror(form.List).index, 1);  // the selection went along with its row
  EXPECT_EQ(Mirror(form.List).rowRebuilds, 0);
  form.List.AddColumn({"Kind", 40});
  EXPECT_EQ(Mirror(form.List).columnCount, 3);
  form.List.SetRowSelect(false);
  EXPECT_EQ(Mirror(form.List).Pushes("StyleChanged"), 1);
  form.List.Clear();
  EXPECT_TRUE(Mirror(form.List).rows.empty());
  EXPECT_EQ(Mirror(form.List).index, -1);

  backend.SetBrowserEngine(false);
  form.Page.Navigate("C:\\other.htm");
  EXPECT_EQ(Mirror(form.Page).text, "C:\\other.htm");
  EXPECT_FALSE(form.Page.Hosted());
}

}  // namespace
}  // namespace vm::ui::testing

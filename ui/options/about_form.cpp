#include "ui/options/about_form.h"

#include <algorithm>

#include "app/main_form.h"
#include "core/log.h"
#include "scheduler/close_program.h"

#ifndef VM_VERSION_TEXT
#define VM_VERSION_TEXT "4.02"
#endif

namespace vm {

namespace {

constexpr const char* kHelpPage = "vemtaro-help.htm";
constexpr const char* kYear = "2004";
// Room kept between the maker's name and the window's right edge.
constexpr int kNameMargin = 4;

ui::Font MakeFont(const char* name, int height, bool bold, bool italic, ui::Color color) {
  ui::Font font;
  font.name = name;
  font.height = -height;
  font.bold = bold;
  font.italic = italic;
  font.color = color;
  return font;
}

}  // namespace

std::string VersionLine() { return std::string("Version ") + VM_VERSION_TEXT + ", " + kYear; }

TForm5::TForm5(ui::Application& app, TForm1& clock, MakerAddresses maker) : Form(app, "Form5"), clock_(clock) {
  DescribeForm();
  if (!maker.webPage.empty()) {
    webTarget_ = maker.webPage;
    Label4.SetCaption(maker.webPage);
  } else {
    webTarget_ = !clock.HelpFile.empty() ? clock.HelpFile : clock.ProgramDirectory() + kHelpPage;
    Label4.SetCaption(FileNameOf(webTarget_));
  }
  MailL.SetCaption(maker.mail);
  Label5.SetVisible(!maker.mail.empty());
  MailL.SetVisible(!maker.mail.empty());
  Label4.OnClick = ui::Bind(this, &TForm5::Label4Click);
  MailL.OnClick = ui::Bind(this, &TForm5::MailLClick);
  SetCloseOnEscape(true);
}

void TForm5::DescribeForm() {
  SetCaption("Vemtaro");
  SetBorderStyle(ui::BorderStyle::Single);
  SetMinSize(209, 115);
  SetClientSize(256, 142);
  SetColor(ui::clMenuBar);
  SetPosition(ui::FormPosition::ScreenCenter);
  SetFont(MakeFont("MS Sans Serif", 10, false, false, ui::clMenuHighlight));

  Shape1.SetBounds(0, 0, 256, 73);
  Shape1.SetPenColor(ui::clNone);
  Shape1.SetBrushColor(ui::clWhite);

  struct Text {
    ui::Label& label;
    int left, top;
    ui::Font font;
    const char* caption;
  };
  const Text texts[] = {
      {Label6, 11, 12, MakeFont("Georgia", 27, true, true, 0xA0A0A0), "Vemtaro"},
      {Label2, 9, 12, MakeFont("Georgia", 27, true, false, ui::clBlack), "Vemtaro"},
      {Label3, 160, 8, MakeFont("Georgia", 13, true, false, 0xD0D0D0), "torbelan"},
      {Label7, 176, 16, MakeFont("Georgia", 21, true, true, 0xF0F0F0), "torbelan"},
      {CapL, 12, 50, MakeFont("Georgia", 13, true, false, ui::clNavy), "Alarm Clock Task Manager"},
      {Label1, 8, 84, MakeFont("MS Sans Serif", 12, false, false, ui::clMenuText), ""},
      {Label4, 108, 106, MakeFont("MS Sans Serif", 9, false, false, ui::clMaroon), ""},
      {Label5, 107, 120, MakeFont("MS Sans Serif", 9, false, false, ui::clMenuHighlight), "email:"},
      {MailL, 155, 120, MakeFont("MS Sans Serif", 9, false, false, ui::clMenuText), ""},
  };
  for (const Text& t : texts) {
    t.label.SetTransparent(true);
    t.label.SetFont(t.font);
    t.label.SetBounds(t.left, t.top, 10, 10);  // auto-size gives the text's size
    t.label.SetCaption(t.caption);
  }
  Label1.SetCaption(VersionLine());
  // The maker's name, large over small: a face wider than the design's (one standing in for
  // Georgia) moves the pair left until the large one ends inside the window.
  const int overflow = Label7.Left() + Label7.Width() - (ClientWidth() - kNameMargin);
  if (overflow > 0)
    for (ui::Label* name : {&Label3, &Label7}) name->SetLeft(std::max(0, name->Left() - overflow));
  for (ui::Label* link : {&Label4, &MailL}) {
    ui::Font font = link->GetFont();
    font.underline = true;
    link->SetFont(font);
    link->SetCursor(ui::Cursor::Hand);
  }
}

void TForm5::Label4Click(ui::Control&) {
  WriteLog("  %s:%d", "TForm5::Label4Click", __LINE__);
  if (Shell* shell = clock_.Services().actions.shell) shell->Execute(Handle(), "open", webTarget_, "", "");
}

void TForm5::MailLClick(ui::Control&) {
  WriteLog("  %s:%d", "TForm5::MailLClick", __LINE__);
  if (MailL.Caption().empty()) return;
  if (Shell* shell = clock_.Services().actions.shell)
    shell->Execute(Handle(), "", "mailto:" + MailL.Caption() + "?subject=Vemtaro", "", "");
}

}  // namespace vm

// The clock window's form description: controls at their design places, fonts, colours, menus.

#include "app/main_form.h"

namespace vm {

namespace {

ui::Font MakeFont(const char* name, int height, bool bold, ui::Color color, bool underline = false) {
  ui::Font f;
  f.name = name;
  f.height = height;
  f.bold = bold;
  f.underline = underline;
  f.color = color;
  return f;
}

}  // namespace

void TForm1::DescribeForm() {
  SetCaption(kProgramName);
  SetBorderStyle(ui::BorderStyle::None);
  SetClientSize(272, 55);
  SetColor(ui::clWindow);
  SetAlphaBlend(true);
  SetAlphaBlendValue(settings.AppliedOpacity());
  SetTransparentColor(true);
  SetTransparentColorValue(ui::clWindow);
  SetKeyPreview(true);
  SetShowHint(true);

  Image1.SetAlign(ui::Align::Bottom);
  Image1.SetHeight(30);
  Image1.SetStretch(true);

  Image3.SetBounds(7, 39, 170, 14);
  Image3.SetStretch(true);

  Label2.SetAlign(ui::Align::Client);
  Label2.SetTransparent(true);
  Label2.SetAutoSize(false);

  MemProcL.SetAutoSize(false);
  MemProcL.SetBounds(10, 37, 167, 13);
  MemProcL.SetFont(MakeFont("Arial", -12, false, ui::clMenuText));
  MemProcL.SetTransparent(true);
  MemProcL.SetCaption("00%");

  TimeLabel.SetBounds(7, 5, 87, 30);
  TimeLabel.SetFont(MakeFont("Georgia", -25, true, ui::clActiveCaption));
  TimeLabel.SetTransparent(true);

  SecLabel.SetBounds(69, 5, 31, 23);
  SecLabel.SetFont(MakeFont("Georgia", -19, true, ui::clActiveCaption, true));
  SecLabel.SetTransparent(true);
  SecLabel.SetVisible(false);

  VML.SetBounds(104, 16, 47, 13);
  VML.SetCaption(kProgramName);
  VML.SetHint("Vemtaro  ");
  VML.SetTransparent(true);
  VML.SetCursor(ui::Cursor::Hand);

  DaywL.SetBounds(156, 1, 36, 14);
  DaywL.SetFont(MakeFont("Arial", -11, true, ui::clActiveCaption));
  DaywL.SetTransparent(true);

  DateLabel.SetBounds(156, 8, 168, 30);
  DateLabel.SetFont(MakeFont("Georgia", -25, true, ui::clActiveCaption));
  DateLabel.SetTransparent(true);

  BufLab.SetBounds(49, 30, 80, 26);
  BufLab.SetFont(MakeFont("Times New Roman", -23, true, ui::clLime));
  BufLab.SetVisible(false);

  int index = 0;
  for (ui::Image* button : {&TopP, &TopA, &TopH}) {
    button->SetBounds(0, 0, 24, 24);
    button->SetStretch(true);
    button->SetTransparent(true);
    button->SetTag(index++);
  }
  for (ui::Image* button : {&MinP, &OffP}) {
    button->SetBounds(0, 0, 14, 14);
    button->SetTransparent(true);
  }

  Timer1.SetInterval(1000);
  Timer1.SetEnabled(true);
  StT.SetInterval(5000);
  StT.SetEnabled(true);
  Timer3.SetInterval(1000);
  Timer3.SetEnabled(false);

  DescribeMenus();
}

void TForm1::DescribeMenus() {
  // Both menus are drawn by the clock (icons from MenuIcons) and take no automatic hot keys.
  for (ui::PopupMenu* menu : {&PopupMenu1, &OptMenu}) {
    menu->SetOwnerDraw(true);
    menu->SetImages(&MenuIcons);
    menu->OnPopup = [this](ui::Control&) { EnsureMenuIcons(); };
  }
  PopupMenu1.SetTrackLeftButton(true);

  mProc.SetImageIndex(16);
  mOpt.SetImageIndex(0);
  mTask.SetImageIndex(11);
  N1.SetEnabled(false);
  N1.SetVisible(false);

  OntopM.SetAutoCheck(false);
  Options1.SetImageIndex(0);
  Dateandtime1.SetImageIndex(1);
  Font1.SetImageIndex(6);
  Color1.SetImageIndex(7);
  for (ui::MenuItem* hidden : {&mPre, &Default1, &mSave, &mDel}) hidden->SetVisible(false);
  N2.SetEnabled(false);
  N2.SetVisible(false);
  DateTimeFormat.SetImageIndex(10);
  SetTime.SetImageIndex(2);
  N3.SetEnabled(false);
  N3.SetVisible(false);
  Languige1.SetImageIndex(3);
  About1.SetImageIndex(4);
  Help1.SetImageIndex(9);
  AutostartM.SetChecked(false);

  MenuTexts = {&Options1, &Dateandtime1, &Languige1, &About1, &Font1,     &Color1,
               &Default1, &Help1,        &About2,    &MenuShow, &Hide1,    &Shutdown1};
}

}  // namespace vm

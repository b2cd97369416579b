#pragma once
// TOptF: the options window (window number 1). It shows the clock's appearance and start-up
// settings, changes them through the clock's own operations and has them stored at once or
// when it closes. Its only state of its own is the colour box's remembered entry and the drag
// of the desktop-time mark.

#include <string>

#include "app/options_window.h"
#include "app/window_interface.h"
#include "platform/services.h"
#include "ui/toolkit/toolkit.h"

namespace vm {

class TForm1;

class TOptF : public ui::Form, public OptionsWindow {
 public:
  void* FindInterface(const void* tag) override { return AnswerInterface<OptionsWindow>(this, tag); }
  TOptF(ui::Application& app, TForm1& clock);

  // ---- the form description ----
  ui::Shape Shape1{*this, "Shape1"};  // top band
  ui::Shape Shape4{*this, "Shape4"};  // silver strip under it
  ui::Bevel Bevel1{*this, "Bevel1"};
  ui::Bevel Bevel2{*this, "Bevel2"};
  ui::Bevel Bevel3{*this, "Bevel3"};
  ui::Bevel Bevel4{*this, "Bevel4"};
  ui::Bevel Bevel5{*this, "Bevel5"};
  ui::Bevel Bevel6{*this, "Bevel6"};
  ui::Bevel Bevel7{*this, "Bevel7"};
  ui::Bevel Bevel8{*this, "Bevel8"};
  ui::Bevel Bevel9{*this, "Bevel9"};  // fitted around Label3
  ui::Label Label3{*this, "Label3"};  // current date and time
  ui::Label Label1{*this, "Label1"};
  ui::CheckBox AStartCB{*this, "AStartCB"};
  ui::CheckBox HideCB{*this, "HideCB"};
  ui::CheckBox AsPanCB{*this, "AsPanCB"};
  ui::CheckBox UseMonCB{*this, "UseMonCB"};
  ui::Label ThemeL{*this, "ThemeL"};
  ui::ColorBox ThemeCB{*this, "ThemeCB"};
  ui::Image FontIm{*this, "FontIm"};
  ui::Label LangL{*this, "LangL"};
  ui::Edit LangE{*this, "LangE"};
  ui::Button Button1{*this, "Button1"};
  ui::Panel Panel1{*this, "Panel1"};   // miniature of the desktop
  ui::Image DispIm{Panel1, "DispIm"};  // its picture
  ui::Label TLab{Panel1, "TLab"};      // where the time is drawn on the desktop
  ui::CheckBox ShowTimeCB{*this, "ShowTimeCB"};
  ui::Label SetPosL{*this, "SetPosL"};
  ui::Label SetFontL{*this, "SetFontL"};
  ui::Label ZoomL{*this, "ZoomL"};
  ui::TrackBar ZoomT{*this, "ZoomT"};
  ui::Label TranL{*this, "TranL"};
  ui::TrackBar Tb{*this, "Tb"};
  ui::CheckBox TransColorCB{*this, "TransColorCB"};

  // ---- keyboard: tab stops for the pictures and labels the mouse uses ----
  ui::FocusProxy FontImFocus{FontIm};
  ui::FocusProxy TLabFocus{TLab};  // the arrow keys move the mark as a drag does
  ui::FocusProxy SetPosLFocus{SetPosL};
  ui::FocusProxy SetFontLFocus{SetFontL};

  // ---- handlers ----
  void FormCreate(ui::Control& sender);
  void FormShow(ui::Control& sender);
  void FormClose(ui::Form& sender, ui::CloseAction& action);
  void FormDestroy(ui::Control& sender);
  void ApplyLanguage();
  void ApplyTheme() {}
  void AStartCBMouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void HideCBMouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  // The same boxes toggled from the keyboard, and a press released outside them.
  void StartBoxClick(ui::Control& sender);
  void StartBoxMouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void ShowTimeCBClick(ui::Control& sender);
  void TransColorCBClick(ui::Control& sender);
  void ZoomTChange(ui::Control& sender);
  void TbChange(ui::Control& sender);
  void ThemeCBChange(ui::Control& sender);
  void FontImClick(ui::Control& sender);
  void FontImMouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void FontImMouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void TLabClick(ui::Control& sender);
  void SetFontLClick(ui::Control& sender);
  void TLabMouseDown(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void TLabMouseMove(ui::Control& sender, ui::ShiftState shift, int x, int y);
  void TLabMouseUp(ui::Control& sender, ui::MouseButton button, ui::ShiftState shift, int x, int y);
  void SetPosLClick(ui::Control& sender);
  void SetFontLMouseEnter(ui::Control& sender);
  void SetPosLMouseLeave(ui::Control& sender);
  void LangBClick(ui::Control& sender);
  // An arrow key on the desktop-time mark moves it one pixel and stores the place, as a drag.
  void TLabFocusKeyDown(ui::Control& sender, ui::KeyCode& key, ui::ShiftState shift);

  // OptionsWindow
  void ShowCurrentTime(const std::string& dateAndTime) override;

  // The desktop's icon view as FormShow last found it (0: none, so no picture).
  WindowId DesktopView() const { return desktopView_; }

 private:
  void DescribeForm();
  void WireHandlers();
  // The tab order, Esc, and the names screen readers read.
  void WireAccess();
  void ApplyAccessNames();
  // Panel1 keeps the screen's proportions: k = screen width / 161, width = screen width / (k + 1),
  // and the same for the height with 126.
  void SizeMiniature();
  // Screen pixels per miniature pixel (the integer ratio the positions are stored with).
  int ScreenPerMiniatureX() const;
  int ScreenPerMiniatureY() const;
  WindowId FindIconView();
  void ShowDesktopPicture(WindowId view);
  void FitBevel9();
  void ChooseDesktopFont();
  // FormClose's first two steps: the settings from the controls, then their five values.
  void StoreSettings();

  TForm1& clock_;
  WindowId desktopView_ = 0;
  ui::Point dragStart_;
  // The start box whose press has flipped its setting and waits for the box's own click.
  ui::Control* pressedBox_ = nullptr;
  bool shown_ = false;   // FormShow has put the settings into the controls
  bool stored_ = false;  // the close has stored the settings already
};

}  // namespace vm

#pragma once
// TForm5: the about window (window number 5): the program's name with its shadow, a line of
// description, the version, and links to the maker's web page and mail address. Its texts are
// not translated.

#include <string>

#include "app/maker_addresses.h"
#include "ui/toolkit/toolkit.h"

namespace vm {

class TForm1;

// "Version 4.02, 2004": the version of the program's version resource.
std::string VersionLine();

class TForm5 : public ui::Form {
 public:
  // Without a web page the link opens the help page shipped beside the program; without a mail
  // address the mail row is not shown.
  TForm5(ui::Application& app, TForm1& clock, MakerAddresses maker = BuiltMakerAddresses());

  ui::Shape Shape1{*this, "Shape1"};
  ui::Label Label6{*this, "Label6"};  // the name's shadow
  ui::Label Label2{*this, "Label2"};  // the name
  ui::Label Label3{*this, "Label3"};
  ui::Label Label7{*this, "Label7"};
  ui::Label CapL{*this, "CapL"};
  ui::Label Label1{*this, "Label1"};  // version line
  ui::Label Label4{*this, "Label4"};  // web link
  ui::Label Label5{*this, "Label5"};  // "email:"
  ui::Label MailL{*this, "MailL"};    // mail link
  // The two links by keyboard.
  ui::FocusProxy Label4Focus{Label4};
  ui::FocusProxy MailLFocus{MailL};

  void Label4Click(ui::Control& sender);
  void MailLClick(ui::Control& sender);

  // What the web link opens: the maker's page, or the full path of the shipped help page.
  const std::string& WebTarget() const { return webTarget_; }

 private:
  void DescribeForm();
  TForm1& clock_;
  std::string webTarget_;
};

}  // namespace vm

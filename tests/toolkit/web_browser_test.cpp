// The page area and the task-bar button's flashing and beep, on the headless backend.

#include <gtest/gtest.h>

#include "toolkit/toolkit_fixture.h"

namespace vm::ui::testing {
namespace {

class PageForm : public Form {
 public:
  explicit PageForm(Application& app) : Form(app, "PageForm") {
    SetBounds(0, 0, 200, 200);
    Page.SetBounds(10, 10, 82, 65);
  }
  WebBrowser Page{*this, "Page"};
};

class WebBrowserTest : public ToolkitTest {};

TEST_F(WebBrowserTest, APageAskedForBeforeTheWindowExistsLoadsWithIt) {
  PageForm form{app};
  form.Page.Navigate("C:\\Vemtaro\\bell.htm", WebBrowser::kNavNoHistory);
  EXPECT_FALSE(form.Page.Hosted());  // no window yet
  form.Show();
  const auto* peer = backend.ControlPeer(form.Page);
  ASSERT_NE(peer, nullptr);
  EXPECT_EQ(peer->text, "C:\\Vemtaro\\bell.htm");
  EXPECT_TRUE(form.Page.Hosted());
  EXPECT_FALSE(form.Page.TabStop());

  form.Page.Navigate("C:\\Vemtaro\\other.htm");
  EXPECT_EQ(backend.ControlPeer(form.Page)->text, "C:\\Vemtaro\\other.htm");
  EXPECT_EQ(form.Page.NavigateFlags(), 0);
}

TEST_F(WebBrowserTest, WithoutAnEngineTheAreaStaysEmptyInItsColour) {
  backend.SetBrowserEngine(false);
  PageForm form{app};
  form.Page.SetColor(clWindow);
  form.Page.Navigate("C:\\Vemtaro\\bell.htm");
  form.Show();
  EXPECT_FALSE(form.Page.Hosted());
  RecordingCanvas& canvas = backend.PaintControl(form.Page);
  const Color shown = backend.Colors().ToRgb(clWindow);
  EXPECT_EQ(canvas.GetPixel({40, 30}), shown);
}

TEST_F(WebBrowserTest, FlashingTogglesTheButtonAndEndsUnhighlighted) {
  app.FlashTaskbarButton(true);
  EXPECT_TRUE(backend.TaskbarHighlighted());
  app.FlashTaskbarButton(true);
  EXPECT_FALSE(backend.TaskbarHighlighted());
  app.FlashTaskbarButton(true);
  app.FlashTaskbarButton(false);
  EXPECT_FALSE(backend.TaskbarHighlighted());
  EXPECT_EQ(backend.TaskbarFlashes(), 4);
  app.Beep();
  app.Beep();
  EXPECT_EQ(backend.Beeps(), 2);
}

}  // namespace
}  // namespace vm::ui::testing

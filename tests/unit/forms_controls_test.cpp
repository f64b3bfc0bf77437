// The toolkit's controls on the headless backend: values set from code run Click once per
// change, the text field's typing rules, Z order, units and the picture box's surface.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/headless/HeadlessBackend.h"

namespace {

using namespace forms;
using forms::headless::HeadlessBackend;

class ControlsTest : public ::testing::Test {
 protected:
  HeadlessBackend backend;
  Form form{backend, "frmControls"};
};

TEST_F(ControlsTest, CheckBoxValueFromCodeClicksOncePerChange) {
  CheckBox check(form, "chkAutoHide", "Auto Hide");
  std::vector<int> clicks;  // the value each Click saw
  check.Click = [&] { clicks.push_back(check.Value()); };
  check.SetValue(1);
  check.SetValue(1);
  EXPECT_EQ(clicks, (std::vector<int>{1}));
  EXPECT_TRUE(check.Checked());
  check.SetValue(0);
  check.SetValue(0);
  EXPECT_EQ(clicks, (std::vector<int>{1, 0}));
}

TEST_F(ControlsTest, ComboBoxSelectionRulesAndClicks) {
  ComboBox combo(form, "cmbTransparent");
  for (const char* item : {"Opaque", "High", "Medium", "Low"}) combo.AddItem(item);
  std::vector<int> clicks;
  combo.Click = [&] { clicks.push_back(combo.ListIndex()); };

  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(combo.Text(), "");
  EXPECT_FALSE(combo.SetListIndex(4));
  EXPECT_FALSE(combo.SetListIndex(-2));
  EXPECT_FALSE(combo.SetText("Medium "));
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(combo.ListIndex(), -1);

  EXPECT_TRUE(combo.SetText("Medium"));
  EXPECT_TRUE(combo.SetListIndex(2));  // unchanged: no second Click
  EXPECT_TRUE(combo.SetListIndex(3));
  EXPECT_EQ(combo.Text(), "Low");
  EXPECT_TRUE(combo.SetListIndex(-1));
  EXPECT_EQ(clicks, (std::vector<int>{2, 3, -1}));

  combo.SetListIndex(0);
  combo.Clear();
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(combo.ListCount(), 0);
  EXPECT_EQ(combo.List(0), "");
  EXPECT_EQ(clicks.size(), 4u) << "clearing the list runs no Click";
}

// A size field of the options dialog: digits and Backspace only, at most three characters.
void DigitsOnly(TextBox& box, int limit) {
  box.KeyPress = [&box, limit](int& key) {
    if (key == 8) return;
    if (key < '0' || key > '9' || static_cast<int>(box.Text().size()) >= limit) key = 0;
  };
}

TEST_F(ControlsTest, TextBoxKeyPressCanDiscardAndChangeFollowsEveryEdit) {
  TextBox width(form, "mskWidth");
  DigitsOnly(width, 3);
  std::vector<std::string> changes;
  width.Change = [&] { changes.push_back(width.Text()); };

  for (char c : std::string("1a2-34")) width.TypeChar(c);
  EXPECT_EQ(width.Text(), "123");
  EXPECT_EQ(changes, (std::vector<std::string>{"1", "12", "123"}));

  width.TypeChar(8);
  EXPECT_EQ(width.Text(), "12");
  width.TypeChar('7');
  EXPECT_EQ(width.Text(), "127");
  width.SelectAll();
  width.TypeChar('5');  // the handler counts the text, not the selection: refused
  EXPECT_EQ(width.Text(), "127");
  width.SelectAll();
  width.TypeChar(8);
  EXPECT_EQ(width.Text(), "");
  width.TypeChar(8);  // nothing left to delete: no change
  EXPECT_EQ(changes, (std::vector<std::string>{"1", "12", "123", "12", "127", ""}));
}

TEST_F(ControlsTest, TextBoxEditsAtTheSelection) {
  TextBox box(form, "txthWnd");
  box.SetText("abcdef");
  box.SetSelection(2, 2);
  box.TypeChar('X');
  EXPECT_EQ(box.Text(), "abXef");
  EXPECT_EQ(box.SelStart(), 3);
  box.TypeChar(8);
  box.TypeChar(8);
  EXPECT_EQ(box.Text(), "aef");
  EXPECT_EQ(box.SelStart(), 1);
  box.SetSelection(10, 5);  // clamped to the text
  EXPECT_EQ(box.SelStart(), 3);
  EXPECT_EQ(box.SelLength(), 0);
  box.KeyPress = [](int& key) {
    if (key >= 'a' && key <= 'z') key -= 32;  // a handler may replace the character
  };
  box.TypeChar('q');
  EXPECT_EQ(box.Text(), "aefQ");
  box.TypeChar(13);  // Enter does not edit a one-line field
  EXPECT_EQ(box.Text(), "aefQ");
}

TEST_F(ControlsTest, TextBoxMaxLengthAndSetText) {
  TextBox box(form, "mskColumns");
  box.SetMaxLength(1);
  int changes = 0;
  box.Change = [&] { ++changes; };
  box.TypeChar('3');
  box.TypeChar('4');
  EXPECT_EQ(box.Text(), "3");
  box.SelectAll();
  box.TypeChar('4');  // replacing the selection stays within the limit
  EXPECT_EQ(box.Text(), "4");
  box.SetText("4");
  EXPECT_EQ(changes, 2) << "setting the same text is no change";
  box.SetText("");
  EXPECT_EQ(changes, 3);
}

TEST_F(ControlsTest, ChildrenStandFrontFirstAndZOrderMovesThem) {
  Label a(form, "a"), b(form, "b");
  std::vector<Control*> order = form.Children();
  EXPECT_EQ(order, (std::vector<Control*>{&b, &a})) << "a new control stands in front";
  {
    Label c(form, "c");
    a.ZOrder(0);
    EXPECT_EQ(form.Children(), (std::vector<Control*>{&a, &c, &b}));
    a.ZOrder(1);
    EXPECT_EQ(form.Children(), (std::vector<Control*>{&c, &b, &a}));
  }
  EXPECT_EQ(form.Children(), (std::vector<Control*>{&b, &a})) << "a destroyed control leaves";
}

TEST_F(ControlsTest, UnitsFollowTheContainersScaleMode) {
  form.Move(1500, 3000, 3000, 1500);  // twips: 200 x 100 pixels at 15 twips per pixel
  EXPECT_EQ(form.ScaleWidth(), 3000);
  form.SetScaleMode(ScaleMode::kPixels);
  EXPECT_EQ(form.ScaleWidth(), 200);
  EXPECT_EQ(form.ScaleHeight(), 100);
  EXPECT_EQ(form.Surface().Width(), 200);
  EXPECT_EQ(form.Surface().Height(), 100);

  PictureBox strip(form, "Picture5", ScaleMode::kTwips);
  strip.Move(0, 0, 100, 20);  // pixels, in the form's units
  Label name(strip, "Label2");
  name.Move(60, 45, 720, 195);  // twips inside the strip
  EXPECT_FLOAT_EQ(strip.ToPixelsX(name.Left()), 4);
  EXPECT_FLOAT_EQ(strip.ToPixelsY(name.Top()), 3);
  EXPECT_FLOAT_EQ(strip.FromPixelsX(7), 105);
  EXPECT_EQ(&name.OwnerForm(), &form);
  EXPECT_EQ(&form.OwnerForm(), &form);
}

TEST_F(ControlsTest, PictureBoxSurfaceFollowsItsSize) {
  form.SetScaleMode(ScaleMode::kPixels);
  PictureBox cell(form, "lblDesktop", ScaleMode::kPixels);
  cell.SetBackColor(0x0000FF);
  cell.Move(1, 22, 10.4f, 6.6f);  // sizes are rounded to whole pixels
  ASSERT_EQ(cell.Surface().Width(), 10);
  ASSERT_EQ(cell.Surface().Height(), 7);
  EXPECT_EQ(cell.Surface().GetPixel(9, 6), 0x0000FFu);

  cell.Surface().SetPixel(2, 3, 0x00FF00);
  cell.SetWidth(20);  // grows: the drawing stays at the top left, the new area is back colour
  EXPECT_EQ(cell.Surface().Width(), 20);
  EXPECT_EQ(cell.Surface().GetPixel(2, 3), 0x00FF00u);
  EXPECT_EQ(cell.Surface().GetPixel(15, 3), 0x0000FFu);

  cell.SetBorderStyle(true);  // the border takes a pixel on every side
  EXPECT_EQ(cell.Surface().Width(), 18);
  EXPECT_EQ(cell.Surface().Height(), 5);

  cell.SetBackColor(0x000000);  // a new back colour clears the drawing
  EXPECT_EQ(cell.Surface().GetPixel(2, 3), 0u);

  const int before = cell.RefreshCount();
  cell.Refresh();
  cell.Refresh();
  EXPECT_EQ(cell.RefreshCount(), before + 2);
}

TEST_F(ControlsTest, PictureIsTheBackgroundAndAutoSizeTakesItsSize) {
  form.SetScaleMode(ScaleMode::kPixels);
  PictureBox box(form, "picWin", ScaleMode::kPixels);
  box.SetBackColor(0x111111);
  box.Move(0, 0, 8, 8);
  box.Surface().SetPixel(6, 6, 0x00FF00);
  box.SetPicture(vd::Bitmap(4, 3, 0xABCDEF));
  EXPECT_EQ(box.Surface().GetPixel(3, 2), 0xABCDEFu);
  EXPECT_EQ(box.Surface().GetPixel(6, 6), 0x111111u) << "the old drawing is gone";
  EXPECT_EQ(box.Width(), 8) << "no AutoSize: the box keeps its size";

  box.SetAutoSize(true);
  box.SetPicture(vd::Bitmap(5, 2, 0x123456));
  EXPECT_EQ(box.Width(), 5);
  EXPECT_EQ(box.Height(), 2);
  EXPECT_EQ(box.Surface().Width(), 5);
  EXPECT_EQ(box.Surface().GetPixel(4, 1), 0x123456u);

  box.SetPicture(vd::Bitmap());  // no picture: a clear box of the back colour
  EXPECT_EQ(box.Surface().GetPixel(4, 1), 0x111111u);
}

TEST_F(ControlsTest, SystemColoursAreResolvedOnTheSurface) {
  form.SetScaleMode(ScaleMode::kPixels);
  PictureBox box(form, "pic", ScaleMode::kPixels);
  box.Move(0, 0, 2, 2);  // default back colour: the system's button face
  EXPECT_EQ(box.Surface().GetPixel(0, 0), backend.SysColor(15));
  EXPECT_EQ(box.Surface().GetPixel(0, 0) & 0x80000000u, 0u);
}

TEST_F(ControlsTest, MouseAndClickEventsReachTheirHandlers) {
  PictureBox box(form, "pic");
  std::vector<std::string> seen;
  box.MouseDown = [&](int b, int s, float x, float y) {
    seen.push_back("down " + std::to_string(b) + " " + std::to_string(s) + " " +
                   std::to_string(static_cast<int>(x)) + "," + std::to_string(static_cast<int>(y)));
  };
  box.Click = [&] { seen.push_back("click"); };
  box.RaiseMouseDown(kRightButton, 1, 30, 45);
  box.RaiseMouseUp(kRightButton, 1, 30, 45);  // no handler: nothing
  box.RaiseClick();
  EXPECT_EQ(seen, (std::vector<std::string>{"down 2 1 30,45", "click"}));
}

}  // namespace

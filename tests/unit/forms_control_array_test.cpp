// Control arrays: elements loaded by index as copies of element 0, their events carrying the
// index, and unloading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/headless/HeadlessBackend.h"

namespace {

using namespace forms;
using forms::headless::HeadlessBackend;

class ControlArrayTest : public ::testing::Test {
 protected:
  ControlArrayTest() { form.SetScaleMode(ScaleMode::kPixels); }
  HeadlessBackend backend;
  Form form{backend, "frmMain"};
};

TEST_F(ControlArrayTest, LoadedElementCopiesTheTemplateHiddenAndInFront) {
  ControlArray<PictureBox> cells(form, "lblDesktop", ScaleMode::kPixels);
  PictureBox& first = cells(0);
  first.Move(1, 22, 100, 60);
  first.SetBackColor(0x336699);
  first.SetForeColor(0x010203);
  first.SetTag("cell");
  first.SetToolTipText("Desktop");
  first.SetBorderStyle(true);
  Label other(form, "lblTitle");  // made after the template: in front of it

  PictureBox& second = cells.Load(2);
  EXPECT_FALSE(second.Visible());
  EXPECT_EQ(second.Index(), 2);
  EXPECT_EQ(second.Name(), "lblDesktop");
  EXPECT_EQ(second.Left(), 1);
  EXPECT_EQ(second.Top(), 22);
  EXPECT_EQ(second.Width(), 100);
  EXPECT_EQ(second.Height(), 60);
  EXPECT_EQ(second.BackColor(), 0x336699u);
  EXPECT_EQ(second.ForeColor(), 0x010203u);
  EXPECT_EQ(second.Tag(), "cell");
  EXPECT_EQ(second.ToolTipText(), "Desktop");
  EXPECT_EQ(second.GetScaleMode(), ScaleMode::kPixels);
  EXPECT_TRUE(second.BorderStyle());
  EXPECT_EQ(second.Surface().Width(), 98);
  EXPECT_EQ(second.Surface().GetPixel(50, 30), 0x336699u);
  EXPECT_EQ(form.Children().front(), &second);
  EXPECT_EQ(form.Children().size(), 3u);
}

TEST_F(ControlArrayTest, IndexingLoadingAndUnloading) {
  ControlArray<PictureBox> mini(form, "picWin", ScaleMode::kTwips);
  EXPECT_TRUE(mini.Exists(0));
  mini.Load(5);
  mini.Load(2);
  EXPECT_EQ(mini.Indexes(), (std::vector<int>{0, 2, 5}));
  EXPECT_EQ(mini.UBound(), 5);
  EXPECT_EQ(mini.Count(), 3);
  EXPECT_THROW(mini.Load(5), std::invalid_argument);
  EXPECT_THROW(mini(3), std::out_of_range);

  PictureBox* five = &mini(5);
  mini.Unload(5);
  EXPECT_FALSE(mini.Exists(5));
  for (Control* c : form.Children()) EXPECT_NE(c, five) << "the unloaded element left the form";
  mini.Unload(0);  // the template stays
  mini.Unload(7);  // never loaded: nothing
  EXPECT_EQ(mini.Indexes(), (std::vector<int>{0, 2}));
  mini.Load(5);  // an index can be loaded again
  EXPECT_EQ(mini.UBound(), 5);
}

TEST_F(ControlArrayTest, EventsCarryTheElementsIndex) {
  ControlArray<PictureBox> mini(form, "picWin", ScaleMode::kTwips);
  mini.Load(1);
  mini.Load(4);
  std::vector<std::string> seen;
  mini.Click = [&](int i) { seen.push_back("click " + std::to_string(i)); };
  mini.MouseDown = [&](int i, int button, int, float x, float) {
    seen.push_back("down " + std::to_string(i) + " " + std::to_string(button) + " " +
                   std::to_string(static_cast<int>(x)));
  };
  mini.MouseUp = [&](int i, int, int, float, float) { seen.push_back("up " + std::to_string(i)); };
  mini.MouseMove = [&](int i, int, int, float, float) {
    seen.push_back("move " + std::to_string(i));
  };
  mini(4).RaiseMouseDown(kLeftButton, 0, 150, 30);
  mini(4).RaiseMouseMove(kLeftButton, 0, 165, 30);
  mini(1).RaiseMouseUp(kLeftButton, 0, 0, 0);
  mini(0).RaiseClick();
  EXPECT_EQ(seen, (std::vector<std::string>{"down 4 1 150", "move 4", "up 1", "click 0"}));
}

TEST_F(ControlArrayTest, EachKindCopiesItsOwnAppearance) {
  ControlArray<Label> labels(form, "lblName", "caption");
  labels(0).SetAlignment(Alignment::kCenter);
  labels(0).SetFont(Font{"Tahoma", 8.25f, true});
  labels(0).SetTransparent(true);
  Label& label = labels.Load(1);
  EXPECT_EQ(label.Caption(), "caption");
  EXPECT_EQ(label.GetAlignment(), Alignment::kCenter);
  EXPECT_TRUE(label.GetFont().bold);
  EXPECT_TRUE(label.Transparent());

  ControlArray<Button> buttons(form, "cmdRespond", "Yes");
  buttons(0).SetIcon(vd::Bitmap(16, 16, 0xFF));
  EXPECT_EQ(buttons.Load(2).Caption(), "Yes");
  EXPECT_EQ(buttons(2).Icon().Width(), 16);

  ControlArray<CheckBox> checks(form, "chk", "Enabled");
  int clicks = 0;
  checks.Click = [&](int) { ++clicks; };
  checks(0).SetValue(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(checks.Load(1).Value(), 1);
  EXPECT_EQ(clicks, 1) << "copying the template's value is no click";

  ControlArray<ComboBox> combos(form, "cbo");
  combos(0).AddItem("ALT");
  combos(0).AddItem("CTRL");
  combos(0).SetListIndex(1);
  ComboBox& combo = combos.Load(1);
  EXPECT_EQ(combo.ListCount(), 2);
  EXPECT_EQ(combo.Text(), "CTRL");

  ControlArray<TextBox> texts(form, "txt");
  texts(0).SetMaxLength(3);
  texts(0).SetText("120");
  EXPECT_EQ(texts.Load(1).Text(), "120");
  EXPECT_EQ(texts(1).MaxLength(), 3);

  ControlArray<Frame> frames(form, "frm", "Style");
  frames(0).SetBorderStyle(false);
  EXPECT_EQ(frames.Load(1).Caption(), "Style");
  EXPECT_FALSE(frames(1).BorderStyle());

  ControlArray<Shape> shapes(form, "shp");
  shapes(0).SetBorderColor(0x00FFFF);
  shapes(0).SetBorderWidth(2);
  EXPECT_EQ(shapes.Load(1).BorderColor(), 0x00FFFFu);
  EXPECT_EQ(shapes(1).BorderWidth(), 2);
}

}  // namespace

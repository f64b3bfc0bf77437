#include <gtest/gtest.h>

#include <algorithm>

#include "ProgramFixture.h"
#include "core/Text.h"

namespace vd::testing {
namespace {

// Cells of 100 x 60 pixels on a screen of 1000 x 600: a factor of 0.1 both ways.
class MiniatureGeometry : public ProgramFixture {
 protected:
  void SetUp() override {
    fake.SetScreen(1000, 600);
    WriteFile("settings.ini", "[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=30\r\nheight=20\r\n");
  }
  forms::PictureBox& MiniatureOf(Hwnd hwnd) {
    return Pager().picWin(AsNumber(
        Pager().Table.Get(WindowTable::KeyOf(hwnd), WindowTable::kVirtualWindow)));
  }
  int Stack(const forms::Control& c) {
    const auto& children = Pager().Children();
    return static_cast<int>(std::find(children.begin(), children.end(), &c) - children.begin());
  }
};

TEST_F(MiniatureGeometry, MiniaturesAreTheWindowsScaledIntoTheCellAndClampedToItsSize) {
  Hwnd plain = OpenWindow("Plain", {500, 100, 900, 400});
  Hwnd maximised = OpenWindow("Maximised", {-8, -8, 1008, 608});
  ASSERT_TRUE(Start());
  const forms::PictureBox& cell = Pager().lblDesktop(1);
  ASSERT_FLOAT_EQ(cell.Width(), 100);
  ASSERT_FLOAT_EQ(cell.Height(), 60);
  EXPECT_FLOAT_EQ(MiniatureOf(plain).Width(), 40);
  EXPECT_FLOAT_EQ(MiniatureOf(plain).Left(), cell.Left() + 50);
  // A maximised window: exactly the cell's size, starting 0.8 px left of the cell.
  Pager().UpdateActiveWindow(maximised, 1, false);
  EXPECT_FLOAT_EQ(MiniatureOf(maximised).Width(), 100);
  EXPECT_FLOAT_EQ(MiniatureOf(maximised).Height(), 60);
  EXPECT_NEAR(MiniatureOf(maximised).Left(), cell.Left() - 0.8f, 1e-4);
  // The box around cell 1 (100 x 60 at 1, 22).
  EXPECT_FLOAT_EQ(Pager().shpBox.Left(), 0);
  EXPECT_FLOAT_EQ(Pager().shpBox.Top(), 21);
  EXPECT_FLOAT_EQ(Pager().shpBox.Width(), 103);
  EXPECT_FLOAT_EQ(Pager().shpBox.Height(), 63);
}

TEST_F(MiniatureGeometry, TheWindowThatComesForwardHasItsMiniatureInFrontAndOnTopOnesStayAbove) {
  Hwnd a = OpenWindow("A"), b = OpenWindow("B"), onTop = OpenWindow("On top");
  ASSERT_TRUE(Start());
  Pager().Table.Set(WindowTable::KeyOf(onTop), WindowTable::kOnTop, "1");
  for (Hwnd front : {a, b, a}) {
    fake.Activate(front);
    backend->Advance(100);
    const Hwnd other = front == a ? b : a;
    EXPECT_LT(Stack(MiniatureOf(front)), Stack(MiniatureOf(other))) << front;
    EXPECT_LT(Stack(MiniatureOf(onTop)), Stack(MiniatureOf(front))) << front;
  }
}

}  // namespace
}  // namespace vd::testing

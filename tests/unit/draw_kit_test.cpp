// The drawing kit: pen, display-list records and capacity, bitmap text layout,
// button and pointer hit tests, the spike palette, and the replay of the list
// through the graphics context at the window's scale.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game_harness.h"
#include "graphics/context.h"

namespace {

using gameharness::Game;
using gameharness::Record;

const float kAbsent = bb_Vaultwick_MyApp::kAbsent;

class DrawKit : public ::testing::Test {
 protected:
  Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();

  // A bitmap font in slot 90 with a 7-unit advance and 10-unit lines.
  void UseFont() {
    app_.m_FontImg = 90;
    app_.m_ImgInfo[270] = 7;
    app_.m_ImgInfo[271] = 10;
    app_.m_ImgInfo[272] = 128;
  }

  std::vector<Record> List() const { return game_.DisplayList(); }

  // Contact i held at (x, y) in virtual units, as the update's input scan sets it.
  void Touch(int i, int x, int y) {
    app_.m_TouchDown[i] = 1;
    app_.m_TouchX[i] = x;
    app_.m_TouchY[i] = y;
    app_.m_PointerDown = 1;
  }
  void NoTouches() {
    for (int i = 0; i < 10; ++i) {
      app_.m_TouchDown[i] = 0;
      app_.m_TouchX[i] = -3717;
      app_.m_TouchY[i] = -3717;
    }
    app_.m_PointerDown = 0;
  }
};

TEST_F(DrawKit, ClearResetsThePenAndEmptiesTheListKeepingTheClearColourWhenAbsent) {
  app_.m_CLS2D(40, 50, 80, 0.5f);
  app_.m_SetSize(3, 4);
  app_.m_SetRot(30);
  app_.m_SetCol(1, 2, 3, 0.25f);
  app_.m_Rect(0, 0, 10, 10);
  ASSERT_EQ(app_.m_DrawCount, 15);

  app_.m_CLS2D(kAbsent, 0, 0, 0);
  EXPECT_EQ(app_.m_DrawCount, 0);
  EXPECT_FLOAT_EQ(app_.m_SizeX, 1);
  EXPECT_FLOAT_EQ(app_.m_SizeY, 1);
  EXPECT_FLOAT_EQ(app_.m_Rot, 0);
  EXPECT_FLOAT_EQ(app_.m_ColR, 255);
  EXPECT_FLOAT_EQ(app_.m_ColG, 255);
  EXPECT_FLOAT_EQ(app_.m_ColB, 255);
  EXPECT_FLOAT_EQ(app_.m_ColA, 1);
  EXPECT_FLOAT_EQ(app_.m_ClearR, 40);
  EXPECT_FLOAT_EQ(app_.m_ClearG, 50);
  EXPECT_FLOAT_EQ(app_.m_ClearB, 80);
  EXPECT_FLOAT_EQ(app_.m_ClearA, 0.5f);
}

TEST_F(DrawKit, AbsentArgumentsGiveUniformSizeAndKeepAlpha) {
  app_.m_ResetDraw();
  app_.m_SetSize(2, kAbsent);
  EXPECT_FLOAT_EQ(app_.m_SizeX, 2);
  EXPECT_FLOAT_EQ(app_.m_SizeY, 2);
  app_.m_SetSize(2, -5000);
  EXPECT_FLOAT_EQ(app_.m_SizeY, 2);
  app_.m_SetSize(2, 0);
  EXPECT_FLOAT_EQ(app_.m_SizeY, 0);

  app_.m_Alpha(0.3f);
  app_.m_SetCol(10, 20, 30, kAbsent);
  EXPECT_FLOAT_EQ(app_.m_ColA, 0.3f);
  EXPECT_FLOAT_EQ(app_.m_ColR, 10);
  app_.m_SetCol(10, 20, 30, 0);
  EXPECT_FLOAT_EQ(app_.m_ColA, 0);

  app_.m_SetRot(45);
  EXPECT_FLOAT_EQ(app_.m_Rot, -45);
}

TEST_F(DrawKit, RecordsCopyThePenAndMarkShapes) {
  app_.m_CLS2D(kAbsent, 0, 0, 0);
  app_.m_SetSize(2, 3);
  app_.m_SetRot(10);
  app_.m_SetCol(11, 22, 33, 0.4f);
  app_.m_DrawImg(7, 100, 200, 5);
  app_.m_Rect(1, 2, 30, 40);
  app_.m_Oval(5, 6, 7, 8);

  std::vector<Record> list = List();
  ASSERT_EQ(list.size(), 3u);
  const Record& img = list[0];
  EXPECT_FLOAT_EQ(img.kind, 7);
  EXPECT_FLOAT_EQ(img.x, 100);
  EXPECT_FLOAT_EQ(img.y, 200);
  EXPECT_FLOAT_EQ(img.rot, -10);
  EXPECT_FLOAT_EQ(img.w, 2);
  EXPECT_FLOAT_EQ(img.h, 3);
  EXPECT_FLOAT_EQ(img.frame, 5);
  EXPECT_FLOAT_EQ(img.alpha, 0.4f);
  EXPECT_FLOAT_EQ(img.r, 11);
  EXPECT_FLOAT_EQ(img.g, 22);
  EXPECT_FLOAT_EQ(img.b, 33);

  EXPECT_FLOAT_EQ(list[1].kind, -3717);
  EXPECT_FLOAT_EQ(list[1].w, 30);  // shapes carry their own size, not the pen's
  EXPECT_FLOAT_EQ(list[1].h, 40);
  EXPECT_FLOAT_EQ(list[1].frame, 0);
  EXPECT_FLOAT_EQ(list[1].rot, -10);
  EXPECT_FLOAT_EQ(list[2].kind, -3716);
  EXPECT_FLOAT_EQ(list[2].x, 5);
  EXPECT_FLOAT_EQ(list[2].w, 7);
  EXPECT_FLOAT_EQ(list[2].h, 8);
}

TEST_F(DrawKit, TheListHoldsTwoThousandFourHundredNinetyNineRecords) {
  app_.m_CLS2D(kAbsent, 0, 0, 0);
  for (int i = 0; i < 2499; ++i) app_.m_Rect(static_cast<float>(i), 0, 1, 1);
  ASSERT_EQ(app_.m_DrawCount, 2499 * 15);
  EXPECT_FLOAT_EQ(app_.m_DrawList[2498 * 15 + 1], 2498);

  // Every kind of record is dropped alike once the list is full.
  app_.m_Rect(9999, 0, 1, 1);
  app_.m_Oval(9999, 0, 1, 1);
  app_.m_DrawImg(1, 9999, 0, 0);
  EXPECT_EQ(app_.m_DrawCount, 2499 * 15);
  EXPECT_EQ(app_.m_DrawList[37485], 0);  // nothing written past the last record

  app_.m_CLS2D(kAbsent, 0, 0, 0);
  app_.m_Rect(1, 0, 1, 1);
  EXPECT_EQ(app_.m_DrawCount, 15);
}

TEST_F(DrawKit, TextWalksGlyphsAndBreaksLinesOnBackslashN) {
  UseFont();
  app_.m_CLS2D(kAbsent, 0, 0, 0);
  app_.m_Text(100, 50, String("A\\nB"), 0, 1);
  std::vector<Record> list = List();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_FLOAT_EQ(list[0].kind, 90);
  EXPECT_FLOAT_EQ(list[0].frame, 'A' - 32);
  EXPECT_NEAR(list[0].x, 100, 1e-3);
  EXPECT_NEAR(list[0].y, 50, 1e-3);
  EXPECT_FLOAT_EQ(list[1].frame, 'B' - 32);
  EXPECT_NEAR(list[1].x, 100, 1e-3);  // back to the line start
  EXPECT_NEAR(list[1].y, 60, 1e-3);   // one line height down

  // A backslash not followed by n is a glyph of its own, even at the end.
  app_.m_CLS2D(kAbsent, 0, 0, 0);
  app_.m_Text(100, 50, String("A\\"), 0, 1);
  list = List();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_FLOAT_EQ(list[1].frame, 60);
  EXPECT_NEAR(list[1].x, 107, 1e-3);
}

TEST_F(DrawKit, TextSkipsBlanksAndUndrawableCharacters) {
  UseFont();
  app_.m_CLS2D(kAbsent, 0, 0, 0);
  const Char units[] = {'A', ' ', 0, 'B', 160, 159, 'C'};
  app_.m_Text(0, 0, String(units, 7), 0, 1);
  std::vector<Record> list = List();
  ASSERT_EQ(list.size(), 4u);
  // The space and character 160 take an advance; character 0 does not.
  EXPECT_NEAR(list[0].x, 0, 1e-3);
  EXPECT_FLOAT_EQ(list[1].frame, 'B' - 32);
  EXPECT_NEAR(list[1].x, 14, 1e-3);
  EXPECT_FLOAT_EQ(list[2].frame, 127);
  EXPECT_NEAR(list[2].x, 28, 1e-3);
  EXPECT_NEAR(list[3].x, 35, 1e-3);
}

TEST_F(DrawKit, TextAlignsTheRunAroundThePoint) {
  UseFont();
  struct Case {
    float alignX, alignY, x0, y0;
  };
  // Five glyphs span four advances (28 units); a line is 10 units.
  const Case cases[] = {
      {0, 1, 200, 100}, {1, 1, 186, 100}, {2, 1, 172, 100}, {0, 0, 200, 105}, {0, 2, 200, 95},
  };
  for (const Case& c : cases) {
    app_.m_CLS2D(kAbsent, 0, 0, 0);
    app_.m_Text(200, 100, String("HELLO"), c.alignX, c.alignY);
    std::vector<Record> list = List();
    ASSERT_EQ(list.size(), 5u);
    EXPECT_NEAR(list[0].x, c.x0, 1e-3) << "align " << c.alignX << "," << c.alignY;
    EXPECT_NEAR(list[0].y, c.y0, 1e-3) << "align " << c.alignX << "," << c.alignY;
    EXPECT_NEAR(list[4].x, c.x0 + 28, 1e-3);
  }

  // The pen's size scales the advance and the line.
  app_.m_CLS2D(kAbsent, 0, 0, 0);
  app_.m_SetSize(2, 3);
  app_.m_Text(200, 100, String("AB\\nC"), 1, 1);
  std::vector<Record> list = List();
  ASSERT_EQ(list.size(), 3u);
  // Five units (the break counts): four advances of 14, half of it back.
  EXPECT_NEAR(list[0].x, 172, 1e-3);
  EXPECT_NEAR(list[1].x, 186, 1e-3);
  EXPECT_NEAR(list[2].x, 172, 1e-3);
  EXPECT_NEAR(list[2].y, 130, 1e-3);
}

TEST_F(DrawKit, RotatedTextRunsAlongTheTurnedBaseline) {
  UseFont();
  app_.m_CLS2D(kAbsent, 0, 0, 0);
  app_.m_SetRot(-90);  // a quarter turn: the run goes up the screen
  app_.m_Text(100, 100, String("AB\\nC"), 0, 1);
  std::vector<Record> list = List();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_NEAR(list[1].x, 100, 1e-3);
  EXPECT_NEAR(list[1].y, 93, 1e-3);
  // The next line starts one line height to the right of the first.
  EXPECT_NEAR(list[2].x, 110, 1e-3);
  EXPECT_NEAR(list[2].y, 100, 1e-3);
  EXPECT_FLOAT_EQ(list[2].rot, 90);
}

TEST_F(DrawKit, ButtonsHitOnlyStrictlyInsideWhileAPointerIsDown) {
  // A 160 x 64 frame of double-resolution art covers 80 x 32 units.
  app_.m_AssetInvScale = 0.5f;
  app_.m_ImgInfo[30] = 160;
  app_.m_ImgInfo[31] = 64;
  app_.m_ResetDraw();
  app_.m_CLS2D(kAbsent, 0, 0, 0);

  struct Case {
    int x, y, hit;
  };
  const Case cases[] = {
      {100, 100, 1}, {139, 115, 1}, {61, 85, 1}, {140, 100, 0}, {60, 100, 0}, {100, 116, 0}, {100, 84, 0},
  };
  for (const Case& c : cases) {
    NoTouches();
    Touch(0, c.x, c.y);
    EXPECT_EQ(app_.m_Button(10, 100, 100, 3), c.hit) << c.x << "," << c.y;
    EXPECT_EQ(app_.m_ButtonHit, c.hit);
    EXPECT_EQ(app_.m_Iter, 10);
  }
  // Each call draws its image.
  std::vector<Record> list = List();
  ASSERT_EQ(list.size(), 7u);
  EXPECT_FLOAT_EQ(list[0].kind, 10);
  EXPECT_FLOAT_EQ(list[0].frame, 3);

  // The pen's size grows the button.
  NoTouches();
  Touch(0, 170, 100);
  app_.m_SetSize(2, 1);
  EXPECT_EQ(app_.m_Button(10, 100, 100, 0), 1);
  app_.m_ResetDraw();

  // Any contact counts, but only while a pointer is down.
  NoTouches();
  Touch(3, 100, 100);
  EXPECT_EQ(app_.m_Button(10, 100, 100, 0), 1);
  app_.m_PointerDown = 0;
  EXPECT_EQ(app_.m_Button(10, 100, 100, 0), 0);
  EXPECT_EQ(app_.m_ButtonHit, 0);
}

TEST_F(DrawKit, ButtonZeroTestsContactZeroAloneAndKeepsTheLastResult) {
  app_.m_AssetInvScale = 0.5f;
  app_.m_ImgInfo[30] = 160;
  app_.m_ImgInfo[31] = 64;
  app_.m_ResetDraw();
  NoTouches();
  Touch(1, 100, 100);
  app_.m_ButtonHit = 7;
  EXPECT_EQ(app_.m_Button0(10, 100, 100, 0), 0);
  Touch(0, 100, 100);
  EXPECT_EQ(app_.m_Button0(10, 100, 100, 0), 1);
  EXPECT_EQ(app_.m_ButtonHit, 7);
}

TEST_F(DrawKit, MouseInNeedsAHeldContactStrictlyInside) {
  NoTouches();
  Touch(2, 10, 20);
  EXPECT_EQ(app_.m_MouseIn(0, 0, 100, 100), 1);
  EXPECT_EQ(app_.m_Iter, 10);
  EXPECT_EQ(app_.m_MouseIn(10, 0, 100, 100), 0);
  EXPECT_EQ(app_.m_MouseIn(0, 0, 10, 100), 0);
  EXPECT_EQ(app_.m_MouseIn(0, 20, 100, 100), 0);
  EXPECT_EQ(app_.m_MouseIn(0, 0, 100, 20), 0);
  EXPECT_EQ(app_.m_MouseIn(9, 19, 2, 2), 1);
  // A contact's position alone is not enough: it must be held.
  app_.m_TouchDown[2] = 0;
  EXPECT_EQ(app_.m_MouseIn(0, 0, 100, 100), 0);
  // The unheld marker position is never inside.
  NoTouches();
  EXPECT_EQ(app_.m_MouseIn(-4000, -4000, 1000, 1000), 0);
}

TEST_F(DrawKit, InkPaintsSpikeKindsWithFullAlpha) {
  struct Case {
    int kind, variant;
    float r, g, b;
  };
  const Case cases[] = {
      {1, 0, 255, 80, 80},    {1, 2, 255, 140, 140}, {2, 1, 255, 180, 80},   {4, 2, 140, 255, 140},
      {6, 0, 130, 130, 255},  {6, 2, 180, 180, 255}, {7, 2, 210, 140, 255},  {8, 3, 255, 80, 180},
      {9, 2, 255, 255, 255},  {0, 0, 180, 180, 180}, {10, 2, 180, 180, 180}, {-1, 2, 180, 180, 180},
  };
  for (const Case& c : cases) {
    app_.m_Alpha(0.2f);
    app_.m_Ink(c.kind, c.variant);
    EXPECT_FLOAT_EQ(app_.m_ColR, c.r) << "kind " << c.kind << " variant " << c.variant;
    EXPECT_FLOAT_EQ(app_.m_ColG, c.g) << "kind " << c.kind << " variant " << c.variant;
    EXPECT_FLOAT_EQ(app_.m_ColB, c.b) << "kind " << c.kind << " variant " << c.variant;
    EXPECT_FLOAT_EQ(app_.m_ColA, 1);
  }
}

// Replays through the context into the recording GL in a window twice the
// design size, so every record is drawn at scale 2.
class DrawReplay : public ::testing::Test {
 protected:
  Game game_{1280, 960};
  bb_Vaultwick_MyApp& app_ = game_.app();

  // The clear is the first shape of every render; what the list drew follows.
  std::vector<gameharness::Shape> ListShapes() {
    game_.Render();
    std::vector<gameharness::Shape> shapes = game_.Shapes();
    EXPECT_FALSE(shapes.empty());
    if (!shapes.empty()) shapes.erase(shapes.begin());
    return shapes;
  }
};

TEST_F(DrawReplay, ShapesAreScaledToTheWindowInTheirColour) {
  ASSERT_FLOAT_EQ(app_.m_ScaleX, 2);
  app_.m_CLS2D(kAbsent, 0, 0, 0);
  app_.m_SetCol(255, 0, 0, 1);
  app_.m_Rect(10, 20, 30, 40);
  app_.m_SetCol(0, 0, 255, 0.5f);
  app_.m_Oval(100, 100, 10, 20);

  std::vector<gameharness::Shape> shapes = ListShapes();
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_FLOAT_EQ(shapes[0].left, 20);
  EXPECT_FLOAT_EQ(shapes[0].top, 40);
  EXPECT_FLOAT_EQ(shapes[0].right, 80);
  EXPECT_FLOAT_EQ(shapes[0].bottom, 120);
  EXPECT_EQ(shapes[0].r, 255);
  EXPECT_EQ(shapes[0].b, 0);
  EXPECT_EQ(shapes[0].a, 255);

  EXPECT_TRUE(shapes[1].fan);
  EXPECT_NEAR(shapes[1].left, 180, 0.5);
  EXPECT_NEAR(shapes[1].right, 220, 0.5);
  EXPECT_NEAR(shapes[1].top, 160, 0.5);
  EXPECT_NEAR(shapes[1].bottom, 240, 0.5);
  EXPECT_EQ(shapes[1].r, 0);
  EXPECT_NEAR(shapes[1].b, 128, 1);  // premultiplied by the half alpha
  EXPECT_NEAR(shapes[1].a, 128, 1);
}

TEST_F(DrawReplay, ImagesDrawTheirFrameAtTheArtScaleAndEmptySlotsNothing) {
  // Double-resolution art: two 32 x 32 frames that cover 16 x 16 units each.
  gxtkSurface* surface = bb_graphics_device->CreateSurface(64, 32);
  ASSERT_NE(surface, nullptr);
  app_.m_Img.Set(5, (new bb_graphics_Image())->m_Init(surface, 2, bb_graphics_Image::CentreHandleFlag));
  app_.m_AssetInvScale = 0.5f;

  app_.m_CLS2D(kAbsent, 0, 0, 0);
  app_.m_DrawImg(6, 10, 10, 0);   // empty slot
  app_.m_DrawImg(5, 100, 50, 1);
  app_.m_DrawImg(-5, 10, 10, 0);  // not a kind at all
  app_.m_SetSize(2, 2);
  app_.m_DrawImg(5, 200, 200, 0);

  std::vector<gameharness::Shape> shapes = ListShapes();
  ASSERT_EQ(shapes.size(), 2u);
  EXPECT_TRUE(shapes[0].textured);
  EXPECT_NEAR(shapes[0].left, 184, 1e-3);  // centred on (200, 100), 32 px across
  EXPECT_NEAR(shapes[0].right, 216, 1e-3);
  EXPECT_NEAR(shapes[0].top, 84, 1e-3);
  EXPECT_NEAR(shapes[0].bottom, 116, 1e-3);
  EXPECT_GT(shapes[0].u0, shapes[1].u0);  // frame 1 lies right of frame 0
  EXPECT_NEAR(shapes[1].left, 400 - 32, 1e-3);
  EXPECT_NEAR(shapes[1].right, 400 + 32, 1e-3);
}

TEST_F(DrawReplay, ARenderWithoutAnUpdateDrawsTheSameListAgain) {
  app_.m_CLS2D(kAbsent, 0, 0, 0);
  app_.m_Rect(0, 0, 5, 5);
  app_.m_Rect(10, 0, 5, 5);
  EXPECT_EQ(ListShapes().size(), 2u);
  EXPECT_EQ(ListShapes().size(), 2u);
}

}  // namespace

// Badges: award sounds and notification slots, the notifications' slide in
// and out, the badge texts, and the badges box's rows, scrolling and the
// description shown while an icon is held.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "fake_al.h"
#include "game_harness.h"
#include "seam/window.h"

namespace {

using gameharness::Game;
using gameharness::Record;

const int kBadgeSheet = 80;

class Badges : public ::testing::Test {
 protected:
  Game game_;
  bb_Vaultwick_MyApp& app_ = game_.app();

  void SetUp() override { game_.FinishLoading(); }

  unsigned int BufferOf(int slot) const { return app_.m_Sfx[slot]->m_sample->buffer; }

  // Runs one step of `step` on a fresh display list and returns the list.
  template <class F>
  std::vector<Record> Drawn(F step) {
    app_.m_CLS2D(bb_Vaultwick_MyApp::kAbsent, 0, 0, 0);
    step();
    return game_.DisplayList();
  }

  std::vector<Record> Notifications() {
    return Drawn([&] { app_.m_ShowBadges(); });
  }
  std::vector<Record> Box() {
    return Drawn([&] { app_.m_BadgesBox(); });
  }

  static std::vector<Record> Rects(const std::vector<Record>& list) {
    std::vector<Record> out;
    for (const Record& r : list)
      if (r.is_rect()) out.push_back(r);
    return out;
  }
  static std::vector<Record> Images(const std::vector<Record>& list, int slot) {
    std::vector<Record> out;
    for (const Record& r : list)
      if (r.kind == static_cast<float>(slot)) out.push_back(r);
    return out;
  }
};

TEST_F(Badges, ANewBadgeThenARepeatThenALaterGame) {
  ASSERT_NE(app_.m_Sfx[18], nullptr);
  ASSERT_NE(app_.m_Sfx[19], nullptr);
  std::vector<fakeal::PlayEvent>& plays = fakeal::state().plays;

  plays.clear();
  app_.m_GiveBadge(4);
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].buffer, BufferOf(19));
  EXPECT_FLOAT_EQ(plays[0].pitch, 1.0f);
  EXPECT_FLOAT_EQ(plays[0].gain, 1.0f);
  EXPECT_FLOAT_EQ(plays[0].pan, 0.0f);
  EXPECT_TRUE(app_.m_Badges[4]);
  EXPECT_TRUE(app_.m_BadgesThisGame[4]);
  EXPECT_EQ(app_.m_NoteBusy[0], 1);
  EXPECT_EQ(app_.m_NoteBadge[0], 4);
  EXPECT_EQ(app_.m_NoteRepeat[0], 0);
  std::vector<Record> rects = Rects(Notifications());
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_FLOAT_EQ(rects[0].r, 0);
  EXPECT_FLOAT_EQ(rects[0].g, 0);
  EXPECT_FLOAT_EQ(rects[0].b, 140);
  EXPECT_FLOAT_EQ(rects[0].alpha, 0.5f);

  // Again in the same game: silence, and no second notification.
  plays.clear();
  app_.m_GiveBadge(4);
  EXPECT_TRUE(plays.empty());
  EXPECT_EQ(app_.m_NoteBusy[1], 0);

  // A later game (its start clears the per-game flags): the repeat sound,
  // higher, and a yellow notification in the next free slot.
  for (int i = 0; i < 256; ++i) app_.m_BadgesThisGame[i] = false;
  app_.m_GiveBadge(4);
  ASSERT_EQ(plays.size(), 1u);
  EXPECT_EQ(plays[0].buffer, BufferOf(18));
  EXPECT_FLOAT_EQ(plays[0].pitch, 1.5f);
  EXPECT_EQ(app_.m_NoteBusy[1], 1);
  EXPECT_EQ(app_.m_NoteRepeat[1], 1);
  rects = Rects(Notifications());
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_FLOAT_EQ(rects[1].r, 140);
  EXPECT_FLOAT_EQ(rects[1].g, 140);
  EXPECT_FLOAT_EQ(rects[1].b, 0);
  EXPECT_FLOAT_EQ(rects[1].alpha, 0.5f);

  // Numbers beyond the flag tables are no badge at all.
  plays.clear();
  app_.m_GiveBadge(256);
  app_.m_GiveBadge(-1);
  EXPECT_TRUE(plays.empty());
  EXPECT_EQ(app_.m_NoteBusy[2], 0);
}

TEST_F(Badges, FourteenBadgesInOneUpdateShowThirteen) {
  fakeal::state().plays.clear();
  for (int id = 0; id < 14; ++id) app_.m_GiveBadge(id);
  EXPECT_EQ(fakeal::state().plays.size(), 14u);
  for (int a = 0; a < 13; ++a) {
    EXPECT_EQ(app_.m_NoteBusy[a], 1) << a;
    EXPECT_EQ(app_.m_NoteBadge[a], a) << a;
  }
  EXPECT_EQ(app_.m_NoteBusy[13], 0);
  EXPECT_EQ(app_.m_NoteBusy[14], 0);
  EXPECT_TRUE(app_.m_Badges[13]);
  std::vector<Record> list = Notifications();
  std::vector<Record> rects = Rects(list);
  ASSERT_EQ(rects.size(), 13u);
  // Slot 0 is the lowest row, 34 above the bottom; later slots stack upward.
  for (int a = 0; a < 13; ++a) EXPECT_FLOAT_EQ(rects[a].y, 480 - 34 * (a + 1)) << a;
  std::vector<Record> icons = Images(list, kBadgeSheet);
  ASSERT_EQ(icons.size(), 13u);
  for (int a = 0; a < 13; ++a) EXPECT_FLOAT_EQ(icons[a].frame, static_cast<float>(a));
}

TEST_F(Badges, ANotificationSlidesInStaysAndSlidesOut) {
  app_.m_GiveBadge(15);
  std::vector<int> xs;  // left edge at each drawing, ages 2, 3, ...
  for (int update = 0; update < 240; ++update) {
    std::vector<Record> rects = Rects(Notifications());
    ASSERT_EQ(rects.size(), 1u) << update;
    xs.push_back(static_cast<int>(rects[0].x));
  }
  auto at = [&](int age) { return xs[static_cast<size_t>(age - 2)]; };
  EXPECT_EQ(at(2), -68);
  EXPECT_EQ(at(3), -52);
  EXPECT_EQ(at(6), -4);
  EXPECT_EQ(at(7), 0);
  EXPECT_EQ(at(120), 0);
  EXPECT_EQ(at(234), 0);
  EXPECT_EQ(at(235), -20);
  EXPECT_EQ(at(240), -100);
  // Freed at 241, drawn once more off screen, then gone.
  EXPECT_EQ(at(241), -116);
  EXPECT_EQ(app_.m_NoteBusy[0], 0);
  EXPECT_TRUE(Rects(Notifications()).empty());

  // The name is written right of the icon, the icon drawn at half size.
  app_.m_GiveBadge(16);
  app_.m_NoteBusy[0] = 100;
  std::vector<Record> list = Notifications();
  std::vector<Record> glyphs = Images(list, app_.m_FontImg);
  ASSERT_EQ(glyphs.size(), 6u);  // "Super 5" without its space
  EXPECT_FLOAT_EQ(glyphs[0].x, 42);
  EXPECT_FLOAT_EQ(glyphs[0].frame, static_cast<float>('S' - 32));
  EXPECT_FLOAT_EQ(glyphs[0].alpha, 1);
  std::vector<Record> icons = Images(list, kBadgeSheet);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_FLOAT_EQ(icons[0].x, 16);
  EXPECT_FLOAT_EQ(icons[0].y, 480 - 34 + 16);
  EXPECT_FLOAT_EQ(icons[0].w, 0.5f);
  EXPECT_FLOAT_EQ(icons[0].frame, 16);
}

TEST_F(Badges, TextsSplitIntoNameAndDescriptionAtTheBar) {
  EXPECT_EQ(app_.m_BadgeName(15), String("Super 3"));
  String detail = app_.m_BadgeDetail(15);
  // A line break for the bitmap text: backslash and "n", not a newline.
  EXPECT_NE(detail.Find(String("spikes\\nwithout")), -1);
  EXPECT_EQ(detail.Find(String("\n")), -1);
  EXPECT_EQ(app_.m_BadgeName(26), String("!$%?"));
  EXPECT_EQ(app_.m_BadgeDetail(32), String("Shot five bullets in\\nSuper Vaultwick mode."));
  std::set<std::string> names;
  for (int id = 0; id <= 32; ++id) {
    String name = app_.m_BadgeName(id), text = app_.m_BadgeDetail(id);
    EXPECT_GT(name.Length(), 0) << id;
    EXPECT_GT(text.Length(), 0) << id;
    EXPECT_EQ(name.Find(String("|")), -1) << id;
    EXPECT_TRUE(app_.m_BadgeID(id) == name + String("|") + text) << id;
    names.insert(name.ToCString());
  }
  EXPECT_EQ(names.size(), 33u);
  for (int id : {-1, 33, 63, 255}) {
    EXPECT_EQ(app_.m_BadgeID(id).Length(), 0) << id;
    EXPECT_EQ(app_.m_BadgeName(id).Length(), 0) << id;
    EXPECT_EQ(app_.m_BadgeDetail(id).Length(), 0) << id;
  }
}

TEST_F(Badges, TheBoxListsOnlyTheFirstNineteen) {
  for (int id = 0; id <= 32; ++id) app_.m_Badges[id] = true;
  // From the top: rows 72 apart, those within the screen and a row's height
  // beyond it drawn, each owned row with its icon.
  std::vector<Record> icons = Images(Box(), kBadgeSheet);
  ASSERT_EQ(icons.size(), 8u);
  for (int id = 0; id < 8; ++id) {
    EXPECT_FLOAT_EQ(icons[id].frame, static_cast<float>(id));
    EXPECT_FLOAT_EQ(icons[id].x, 640 * 0.8f);
    EXPECT_FLOAT_EQ(icons[id].y, 32 + 72 * id);
  }
  // However far the list scrolls, nothing past badge 18 appears.
  std::set<int> seen;
  for (int scroll = 0; scroll >= -4000; scroll -= 36) {
    app_.m_BadgeScroll = app_.m_BadgeScrollTarget = static_cast<float>(scroll);
    for (const Record& icon : Images(Box(), kBadgeSheet)) seen.insert(static_cast<int>(icon.frame));
  }
  EXPECT_EQ(seen.size(), 19u);
  EXPECT_EQ(*seen.rbegin(), 18);
}

TEST_F(Badges, BadgesNotOwnedShowTheirNamesDimAndNoIcon) {
  app_.m_Badges[1] = true;
  std::vector<Record> list = Box();
  std::vector<Record> icons = Images(list, kBadgeSheet);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_FLOAT_EQ(icons[0].frame, 1);
  // Names at twice the size; row 0's (16 + a half line down) is dim.
  float alphaRow0 = -1, alphaRow1 = -1;
  for (const Record& g : Images(list, app_.m_FontImg)) {
    EXPECT_FLOAT_EQ(g.w, 2);
    if (g.y == 26) alphaRow0 = g.alpha;
    if (g.y == 98) alphaRow1 = g.alpha;
  }
  EXPECT_FLOAT_EQ(alphaRow0, 0.5f);
  EXPECT_FLOAT_EQ(alphaRow1, 1.0f);
}

TEST_F(Badges, TheListScrollsByKeysAndDragAndEasesToItsTarget) {
  // Down at the top: the target would pass 0 and is held there.
  game_.Press(WL_KEY_DOWN);
  game_.Update();
  Box();
  EXPECT_FLOAT_EQ(app_.m_BadgeScrollTarget, 0);
  game_.Release(WL_KEY_DOWN);
  game_.Update();

  // Up: 16 further each update while held; the list eases a sixth of the way.
  game_.Press(WL_KEY_UP);
  game_.Update();
  Box();
  game_.Release(WL_KEY_UP);
  game_.Update();
  EXPECT_FLOAT_EQ(app_.m_BadgeScrollTarget, -16);
  EXPECT_FLOAT_EQ(app_.m_BadgeScroll, -16.0f / 6);
  // Rows follow the position of the update before, truncated.
  std::vector<Record> icons;
  app_.m_Badges[0] = true;
  icons = Images(Box(), kBadgeSheet);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_FLOAT_EQ(icons[0].y, 32 - 2);
  // Within 6 of the target it snaps there.
  for (int i = 0; i < 10; ++i) Box();
  EXPECT_FLOAT_EQ(app_.m_BadgeScroll, -16);

  // A drag over the list moves the target 1.5 times the pointer's way; one
  // in the left margin does nothing.
  app_.m_MouseWasDown = 1;
  app_.m_PointerX = 300;
  app_.m_PrevPointerY = 200;
  app_.m_PointerY = 180;
  Box();
  EXPECT_FLOAT_EQ(app_.m_BadgeScrollTarget, -16 - 30);
  app_.m_PointerX = 70;
  Box();
  EXPECT_FLOAT_EQ(app_.m_BadgeScrollTarget, -46);
}

TEST_F(Badges, TheListStopsAtItsLastRowAndAtItsFirst) {
  // Nineteen rows of 72: the last one's bottom reaches the bottom of the
  // 480 high screen with the list 19 * 72 - 480 = 888 up, and no further.
  const float lowest = 480 - 72 * 19;
  app_.m_MouseWasDown = 1;
  app_.m_PointerX = 300;
  app_.m_PrevPointerY = 200;
  app_.m_PointerY = -5000;
  Box();
  EXPECT_FLOAT_EQ(app_.m_BadgeScrollTarget, lowest);
  app_.m_MouseWasDown = 0;
  game_.Press(WL_KEY_UP);
  game_.Update();
  Box();
  EXPECT_FLOAT_EQ(app_.m_BadgeScrollTarget, lowest);
  game_.Release(WL_KEY_UP);
  game_.Update();

  // Eased all the way down, the last badge's icon is on the screen.
  app_.m_Badges[18] = true;
  for (int i = 0; i < 60; ++i) Box();
  EXPECT_FLOAT_EQ(app_.m_BadgeScroll, lowest);
  std::vector<Record> icons = Images(Box(), kBadgeSheet);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_FLOAT_EQ(icons[0].y, lowest + 72 * 18 + 32);
  EXPECT_LE(icons[0].y + 32, 480);

  // A drag down past the top stops at the top, in the same update.
  app_.m_MouseWasDown = 1;
  app_.m_PointerX = 300;
  app_.m_PrevPointerY = 0;
  app_.m_PointerY = 5000;
  Box();
  EXPECT_FLOAT_EQ(app_.m_BadgeScrollTarget, 0);
}

TEST_F(Badges, HoldingAnOwnedIconShowsItsDescription) {
  app_.m_Badges[2] = true;
  auto panels = [&](const std::vector<Record>& list) {
    int n = 0;
    for (const Record& r : Rects(list))
      if (r.r == 0 && r.g == 40 && r.b == 80) ++n;
    return n;
  };
  EXPECT_EQ(panels(Box()), 0);

  // Row 2's icon is at (512, 176).
  game_.MoveMouse(512, 176);
  game_.MouseDown();
  game_.Update();
  std::vector<Record> list = Box();
  ASSERT_EQ(panels(list), 1);
  Record panel = Rects(list).back();
  EXPECT_FLOAT_EQ(panel.x, -1);
  EXPECT_FLOAT_EQ(panel.y, 240 - 120);
  EXPECT_FLOAT_EQ(panel.w, 642);
  EXPECT_FLOAT_EQ(panel.h, 320);
  EXPECT_FLOAT_EQ(panel.alpha, 0.7f);
  Record big = Images(list, kBadgeSheet).back();
  EXPECT_FLOAT_EQ(big.frame, 2);
  EXPECT_FLOAT_EQ(big.w, 3);
  EXPECT_FLOAT_EQ(big.x, 320);
  EXPECT_FLOAT_EQ(big.y, 240);
  // The description follows at one and a half times the size.
  Record last = list.back();
  EXPECT_EQ(last.kind, static_cast<float>(app_.m_FontImg));
  EXPECT_FLOAT_EQ(last.w, 1.5f);

  // Not over an icon, or over a badge not owned: no description.
  game_.MoveMouse(512, 248);
  game_.Update();
  EXPECT_EQ(panels(Box()), 0);
  game_.MouseUp();
  game_.MoveMouse(512, 176);
  game_.Update();
  EXPECT_EQ(panels(Box()), 0);
}

}  // namespace

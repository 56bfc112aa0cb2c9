// Badges: the fixed feats, their award with a sound and a notification that
// slides in at the left edge, and the scrolling badges box of the main menu.
#include <algorithm>
#include <cmath>

#include "game/vaultwick.h"

namespace {

// Name, "|", description. A backslash followed by "n" is a line break for
// m_Text, so the descriptions carry those two characters, not a newline.
const char* const kBadgeTexts[] = {
    "Passed 25|Made it past 25 spikes.",
    "Passed 50|Made it past 50 spikes.",
    "Passed 100|Made it past 100 spikes.",
    "Passed 250|Got beyond 250 spikes.",
    "Passed 500|Boinged by 500 spikes.",
    "Passed 1000|Bounced past 100 spikes.",
    "Passed 2500|Leapt past 2500 spikes.",
    "10 Combo|Scored a Combo of 10.",
    "20 Combo|Scored a Combo of 20.",
    "50 Combo|Scored a Combo of 50.",
    "75 Combo|Scored a Combo of 75.",
    "100 Combo|Scored a huge Combo of 100.",
    "200 Combo|Scored an amazing Combo of 200.",
    "500 Combo|Scored a great Combo of 500.",
    "1000 Combo|Scored a whopping Combo of 1000.",
    "Super 3|Bounced past 3 spikes\\nwithout letting go.",
    "Super 5|Bounced past 5 spikes\\nwithout letting go.",
    "Super 8|Bounced past 8 spikes\\nwithout letting go.",
    "Super 10|Bounced past 10 spikes\\nwithout letting go.",
    "Under Green|Bounced under a\\nGreen spike.",
    "Under 5|Bounced under 5 Green\\nspikes in a single round.",
    "Over Blue|Bounced over a\\nBlue spike.",
    "Over 5|Bounce over 5 Blue\\nspikes in a single round.",
    "Over Purple|Bounced over a\\nPurple spike.",
    "Over 5 Purple|Bounced over 5 Purple\\nspikes in a single round.",
    "D'oh!|Smashed into the first spike.",
    "!$%?|Repeatedly hit the first spike.",
    "Wave 1|Bounced over two green\\nspikes without letting go.",
    "Wave 2|Bounced over a cyan\\nthen under a cyan\\nwithout letting go.",
    "Wave 3|Bounced over a purple\\nthen under a purple\\nwithout letting go.",
    "Wave 4|Bounced over a red, orange\\nyellow and then green,\\nwithout letting go.",
    "Fired|Shot a bullet in\\nSuper Vaultwick mode.",
    "Five Fire|Shot five bullets in\\nSuper Vaultwick mode.",
};
const int kBadgeTextCount = sizeof(kBadgeTexts) / sizeof(kBadgeTexts[0]);

const int kBadgeSheet = 80;      // image slot of the badge icons, frame = badge id
const int kSfxNewBadge = 19;
const int kSfxRepeatBadge = 18;
const int kNoteSlots = 13;
const int kNoteWidth = 100;      // vu
const int kNoteHeight = 32;      // vu
const int kNoteRow = 34;         // vu between stacked notifications
const int kNoteLife = 240;       // updates, about four seconds
const int kRowPitch = 72;        // vu between rows of the badges box
const int kNone = -1;

}  // namespace

String bb_Vaultwick_MyApp::m_BadgeID(int id) {
  if (id < 0 || id >= kBadgeTextCount) return String();
  return String(kBadgeTexts[id]);
}

String bb_Vaultwick_MyApp::m_BadgeName(int id) {
  String text = m_BadgeID(id);
  int bar = text.Find(String("|"));
  return bar < 0 ? text : text.Slice(0, bar);
}

String bb_Vaultwick_MyApp::m_BadgeDetail(int id) {
  String text = m_BadgeID(id);
  int bar = text.Find(String("|"));
  return bar < 0 ? String() : text.Slice(bar + 1);
}

int bb_Vaultwick_MyApp::m_GiveBadge(int id) {
  // Gameplay awards by number; anything beyond the flag tables is no badge.
  if (id < 0 || id >= m_Badges.Length()) return 0;
  bool owned = m_Badges[id];
  // One announcement per badge per game, however often the feat happens.
  if (owned && m_BadgesThisGame[id]) return 0;
  if (owned)
    m_PlaySFX(kSfxRepeatBadge, 1.5f, 1.0f, 0);
  else
    m_PlaySFX(kSfxNewBadge, 1.0f, 1.0f, 0);
  for (int a = 0; a < kNoteSlots; ++a) {
    if (m_NoteBusy[a] != 0) continue;
    m_NoteBusy[a] = 1;
    m_NoteBadge[a] = id;
    m_NoteRepeat[a] = owned ? 1 : 0;
    break;
  }
  m_Badges[id] = true;
  m_BadgesThisGame[id] = true;
  return 0;
}

int bb_Vaultwick_MyApp::m_ShowBadges() {
  m_ResetDraw();
  const int leaving = kNoteLife - kNoteWidth / 16;
  for (int a = 0; a < kNoteSlots; ++a) {
    if (m_NoteBusy[a] <= 0) continue;
    int age = m_NoteBusy[a] + 1;
    m_NoteBusy[a] = age;
    int x = age * 16 - kNoteWidth;
    if (age > leaving) x = (kNoteLife - age) * 16 - kNoteWidth;
    if (x > 0) x = 0;
    // Freed now, but drawn once more where it is, which is off screen.
    if (age > kNoteLife) m_NoteBusy[a] = 0;
    float left = static_cast<float>(x);
    float top = bb_Vaultwick_jscrh - static_cast<float>((a + 1) * kNoteRow);
    if (m_NoteRepeat[a] == 1)
      m_SetCol(140, 140, 0, 0.5f);
    else
      m_SetCol(0, 0, 140, 0.5f);
    m_Rect(left, top, kNoteWidth, kNoteHeight);
    m_SetCol(255, 255, 255, 1);
    int id = m_NoteBadge[a];
    m_Text(left + 42, top + 4, m_BadgeName(id), 0, 0);
    // The icon sheet has 64 frames; ids past it have no icon.
    if (id <= 63) {
      m_SetSize(0.5f, kAbsent);
      m_DrawImg(kBadgeSheet, left + 16, top + 16, static_cast<float>(id));
      m_SetSize(1, kAbsent);
    }
  }
  return 0;
}

int bb_Vaultwick_MyApp::m_BadgesBox() {
  const float w = bb_Vaultwick_jscrw;
  const float h = bb_Vaultwick_jscrh;
  m_ResetDraw();
  m_SetCol(255, 125, 0, 0.8f);
  m_Rect(w * 0.1f, -1, w * 0.8f, h + 2);
  m_SetCol(100, 0, 0, 0.8f);
  m_Rect(w * 0.12f, -1, w * 0.76f, h + 2);
  m_SetCol(255, 255, 255, kAbsent);

  // Rows are laid out from where the list stood at the start of this update.
  int y0 = static_cast<int>(m_BadgeScroll);
  m_PinchSpan = kNone;  // the badge whose icon is held

  if (m_PlayKey(0)) m_BadgeScrollTarget -= 16;
  if (m_PlayKey(8)) m_BadgeScrollTarget += 16;
  // A drag over the list (not over the left margin) scrolls it, faster than
  // the pointer so that a long list needs few strokes.
  if (m_MouseWasDown >= 1 && static_cast<float>(m_PointerX) > w * 0.12f)
    m_BadgeScrollTarget -= 1.5f * static_cast<float>(m_PrevPointerY - m_PointerY);
  // The list stops with its first row at the top and its last row's bottom
  // at the bottom of the screen: scrolled further it would leave the box
  // empty, and a long drag would take as long to come back.
  float lowest = std::min(0.0f, h - static_cast<float>(kRowPitch * bb_Vaultwick_MaxBadges));
  m_BadgeScrollTarget = std::max(lowest, std::min(0.0f, m_BadgeScrollTarget));

  float eased = m_BadgeScroll - (m_BadgeScroll - m_BadgeScrollTarget) / 6;
  m_BadgeScroll = std::fabs(eased - m_BadgeScrollTarget) < 6 ? m_BadgeScrollTarget : eased;

  for (int id = 0; id < bb_Vaultwick_MaxBadges; ++id) {
    int y = y0 + kRowPitch * id;
    if (y < -(kRowPitch - 1) || static_cast<float>(y) >= h + kRowPitch) continue;
    bool owned = m_Badges[id];
    m_SetSize(2, kAbsent);
    m_Alpha(owned ? 1.0f : 0.5f);
    m_Text(w * 0.18f, static_cast<float>(y + 16), m_BadgeName(id), 0, 0);
    if (owned) {
      m_SetSize(1, kAbsent);
      if (m_Button(kBadgeSheet, w * 0.8f, static_cast<float>(y + 32), id)) m_PinchSpan = id;
    }
  }

  // The description shows only while an owned badge's icon is held.
  if (m_PinchSpan != kNone) {
    int id = m_PinchSpan;
    m_SetCol(0, 40, 80, 0.7f);
    m_Rect(-1, h * 0.5f - 120, w + 2, 320);
    m_SetCol(255, 255, 255, kAbsent);
    m_SetSize(3, kAbsent);
    m_DrawImg(kBadgeSheet, w * 0.5f, h * 0.5f, static_cast<float>(id));
    m_SetSize(1.5f, kAbsent);
    m_Text(w * 0.15f, h * 0.5f + 120, m_BadgeDetail(id), 0, 0);
  }
  return 0;
}

// This program posts to no outside score service.
int bb_Vaultwick_MyApp::m_GC_PostScore(int mode, int score) {
  (void)mode;
  (void)score;
  return 0;
}

int bb_Vaultwick_MyApp::m_GC_Badges() { return 0; }

// The game's music on the audio device's music channel: the menu's theme at
// the menu, the world's loop in a round, a short fade when the one gives way
// to the other, the music lowered under the pause panel, and the sound
// setting (1 effects and music, 3 music only) switching it at once.
#include <algorithm>
#include <cstring>

#include "audio/audio.h"
#include "files/files.h"
#include "game/vaultwick.h"

namespace {

const int kMaxVolumeSteps = 10;
const int kMenuTheme = 0;  // the track number of the menu's theme; 1..9 are variants
const int kNoMusic = -1;
const int kFadeUpdates = 20;           // a third of a second out, and in again
const float kPausedLevel = 0.35f;      // under the pause panel

// The music of the menu (0) and of each variant (1..9), under data/: one loop
// per mood, shared by the worlds of that mood.
const char* const kMusicFiles[] = {
    "music/menu.ogg",     // the menu
    "music/sunny.ogg",    // kVariantClassic: the garden
    "music/moonlit.ogg",  // kVariantLake: the moonlit lake
    "music/drive.ogg",    // kVariantRunner: the canyon run
    "music/sunny.ogg",    // kVariantFlying: the high sky
    "music/arcade.ogg",   // kVariantBeams: the retro grid
    "music/drive.ogg",    // kVariantGun: the bullet factory
    "music/sunny.ogg",    // kVariantPickups: the candy carnival
    "music/moonlit.ogg",  // kVariantShields: the crystal cavern
    "music/drive.ogg",    // kVariantSmash: the volcano
};
const int kMusicTracks = sizeof kMusicFiles / sizeof kMusicFiles[0];

// Compared as C strings: a runtime String per update would be garbage for
// the collector.
bool SameFile(int a, int b) { return std::strcmp(kMusicFiles[a], kMusicFiles[b]) == 0; }

}  // namespace

String bb_Vaultwick_MusicFile(int track) {
  return track >= 0 && track < kMusicTracks ? String(kMusicFiles[track]) : String();
}

float bb_Vaultwick_MyApp::m_MusicVolume() {
  int steps = m_Settings[kSettingMusicVolume];
  if (steps < 0) steps = 0;
  if (steps > kMaxVolumeSteps) steps = kMaxVolumeSteps;
  // Worked out in whole steps, so the last one is silence and not a gain a
  // rounding below zero, which OpenAL would refuse.
  return static_cast<float>(kMaxVolumeSteps - steps) / kMaxVolumeSteps;
}

// Called at the end of every update, after the screens, so that a change of
// screen or of the sound setting is heard in the same update.
void bb_Vaultwick_MyApp::UpdateMusic() {
  if (bb_Vaultwick_Headless) return;  // the replay verifier plays nothing
  int wanted = WantedMusic();
  if (wanted == kNoMusic) {
    StopGameMusic();
    return;
  }
  float target = m_Screen == kScreenRound && m_Paused == 1 ? kPausedLevel : 1.0f;
  if (m_MusicTrack == kNoMusic || bb_audio_device->MusicState() == 0) {
    // Nothing to fade: a first start, the setting just switched on, or the
    // last track missing or damaged (then started again only when the
    // wanted track changes).
    if (wanted != m_MusicTrack) StartMusic(wanted, target);
  } else if (!SameFile(m_MusicTrack, wanted)) {
    m_MusicLevel -= 1.0f / kFadeUpdates;
    if (m_MusicLevel <= 0) StartMusic(wanted, 0);
  } else {
    m_MusicTrack = wanted;
    float step = 1.0f / kFadeUpdates;
    m_MusicLevel = m_MusicLevel < target ? std::min(target, m_MusicLevel + step) : std::max(target, m_MusicLevel - step);
  }
  bb_audio_device->SetMusicVolume(std::max(0.0f, m_MusicLevel) * m_MusicVolume());
}

// The track the game should play now. While loading it keeps what it has, so
// the menu's theme starts once the menu is up and a reload for a new window
// size does not interrupt the music.
int bb_Vaultwick_MyApp::WantedMusic() const {
  int sound = m_Settings[kSettingSound];
  if (bb_Vaultwick_HasMusic != 1 || (sound != 1 && sound != 3)) return kNoMusic;
  if (m_LoadStep > 0) return m_MusicTrack;
  if (m_Screen == kScreenMenu || m_Screen == kScreenBackToMenu) return kMenuTheme;
  if (m_Screen == kScreenRound || m_Screen == kScreenRoundSetUp)
    return m_Mode >= kVariantClassic && m_Mode < kMusicTracks ? m_Mode : kVariantClassic;
  return m_MusicTrack;
}

void bb_Vaultwick_MyApp::StartMusic(int track, float level) {
  // A file that cannot be played leaves the channel silent; the game runs on.
  bb_audio_device->PlayMusic(bb_data_FixDataPath(bb_Vaultwick_MusicFile(track)), 1);
  m_MusicTrack = track;
  m_MusicLevel = level;
}

void bb_Vaultwick_MyApp::StopGameMusic() {
  if (m_MusicTrack == kNoMusic) return;
  bb_audio_device->StopMusic();
  m_MusicTrack = kNoMusic;
  m_MusicLevel = 0;
}

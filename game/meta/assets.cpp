// Image and sound slots: the art resolution for the window, the file names,
// the loader that fills the slots one file per update behind the loading
// screen, and the sound player with its rotating channel pool.
#include <algorithm>
#include <cmath>

#include "app/timing_log.h"
#include "audio/audio.h"
#include "game/shell/degrees.h"
#include "game/vaultwick.h"
#include "graphics/context.h"

namespace {

// Sound effects rotate through the first channels only, so the rest stay
// free for anything that wants a channel of its own.
const int kSfxChannels = 24;
const int kLastLoadStep = 38;

}  // namespace

void bb_Vaultwick_MyApp::ChooseAssetScale() {
  int width = bb_graphics_device->Width(), height = bb_graphics_device->Height();
  m_AssetScale = 1;
  m_AssetInvScale = 1.0f;
  if (width > 630 || height > 630) {
    m_AssetScale = 2;
    m_AssetInvScale = 0.5f;
  }
  if (width > 1230 || height > 1230) {
    m_AssetScale = 4;
    m_AssetInvScale = 0.25f;
  }
}

String bb_Vaultwick_MyApp::ImageFile(String stem) {
  if (m_AssetScale == 2) return stem + String("-hd.png");
  if (m_AssetScale == 4) return stem + String("-hd2.png");
  return stem + String(".png");
}

int bb_Vaultwick_MyApp::m_LoadImg(int slot, String name, int frameWidth, int frameHeight, int frameCount,
                                  int flags) {
  String file = ImageFile(name);
  // Let the old sheet go before the new one is decoded, so two full sets of
  // textures are never held at once.
  m_Img[slot] = nullptr;
  if (!bb_Vaultwick_Headless)
    m_Img.Set(slot, bb_graphics_LoadImage2(file, frameWidth * m_AssetScale, frameHeight * m_AssetScale, frameCount,
                                           flags));
  m_ImgInfo[3 * slot] = frameWidth * m_AssetScale;
  m_ImgInfo[3 * slot + 1] = frameHeight * m_AssetScale;
  m_ImgInfo[3 * slot + 2] = frameCount;
  return 0;
}

// Glyph cells scale with the art, but the advance and line height stay in
// virtual units, which is what m_Text lays out in.
int bb_Vaultwick_MyApp::m_LoadFont(int slot, String name, int advance, int lineHeight) {
  String file = ImageFile(name);
  if (!bb_Vaultwick_Headless)
    m_Img.Set(slot, bb_graphics_LoadImage2(file, 16 * m_AssetScale, 16 * m_AssetScale, 128,
                                           bb_graphics_Image::CentreHandleFlag));
  m_ImgInfo[3 * slot] = advance;
  m_ImgInfo[3 * slot + 1] = lineHeight;
  m_ImgInfo[3 * slot + 2] = 128;
  m_FontImg = slot;
  return 0;
}

int bb_Vaultwick_MyApp::m_LoadSFX(int slot, int variant) {
  // The name rule reaches past slot 99, but the table does not.
  if (variant < 0 || slot < 0 || slot >= m_Sfx.Length() || bb_Vaultwick_Headless) return 0;
  String prefix = slot < 10 ? String("sfx/00") : slot <= 99 ? String("sfx/0") : String("sfx/");
  String file = prefix + String(slot);
  if (variant > 0) file = file + String("_") + m_rstr(variant, 3, String("0"));
  m_Sfx.Set(slot, bb_audio_LoadSound(file + String(".wav")));
  return 0;
}

int bb_Vaultwick_MyApp::m_GetSFX() {
  switch (m_Mode) {
    case kVariantLake:
    case kVariantRunner:
    case kVariantBeams:
    case kVariantShields:
      return 1;
    default:
      return 0;
  }
}

int bb_Vaultwick_MyApp::m_Reload() {
  m_ClearR = m_ClearG = m_ClearB = 0;
  m_ClearA = 1.0f;
  ChooseAssetScale();
  // The loading screen shows the logo, so it cannot wait for its step.
  m_LoadImg(93, String("common/QorvLogo"), 256, 256, 1, 1);
  m_LoadStep = 1;
  return 0;
}

int bb_Vaultwick_MyApp::m_Loader() {
  // Every step picks the resolution afresh: the window may change mid-load.
  ChooseAssetScale();
  int step = m_LoadStep;
  if (step >= 18 && step <= 27) {
    m_LoadSFX(step - 15, 0);
  } else if (step >= 30 && step <= kLastLoadStep) {
    m_LoadSFX(step - 16, 0);
  } else {
    switch (step) {
      case 1: m_LoadImg(97, String("common/icons"), 32, 32, 16, 1); break;
      case 2: break;
      case 3: m_LoadImg(94, String("common/dpad"), 32, 32, 16, 1); break;
      case 4: m_LoadImg(92, String("common/icade"), 64, 64, 2, 1); break;
      case 5: m_LoadImg(93, String("common/QorvLogo"), 256, 256, 1, 1); break;
      case 6: m_LoadFont(90, String("fonts/editundo"), 7, 10); break;
      case 7: m_LoadSFX(1, 0); break;
      case 8: m_LoadSFX(95, 0); break;
      case 9: m_LoadSFX(98, 0); break;
      case 10: m_LoadSFX(99, 0); break;
      case 11: m_LoadImg(99, String("menu"), 256, 256, 4, 1); break;
      case 12: m_LoadImg(98, String("logo"), 256, 128, 1, 1); break;
      case 13: m_LoadImg(96, String("parts"), 8, 8, 16, 1); break;
      case 14: m_LoadImg(80, String("BadgesA"), 64, 64, 64, 1); break;
      case 15: m_LoadImg(1, String("world") + m_rstr(m_Mode, 3, String("0")), 32, 32, 50, 1); break;
      case 16: m_LoadImg(2, String("world") + m_rstr(m_Mode, 3, String("0")), 320, 16, 10, 1); break;
      case 17:
        m_LoadSFX(2, 0);
        m_LoadSFX(13, 0);
        m_SfxSet = 0;
        break;
      case 28: m_LoadImg(10, String("MenuButtonsA"), 80, 32, 20, 1); break;
      case 29: m_LoadImg(3, String("heart"), 32, 32, 1, 1); break;
      default:
        m_LoadStep = 0;
        m_MenuScroll = bb_Vaultwick_jscrh * 0.65f - static_cast<float>(m_MenuMode - 1) * 82;
        timinglog::Mark("loaded");
        break;
    }
  }
  if (m_LoadStep >= 1) ++m_LoadStep;
  m_WaitStart(1);
  return 0;
}

int bb_Vaultwick_MyApp::m_WaitStart(int) {
  float w = bb_Vaultwick_jscrw, h = bb_Vaultwick_jscrh;
  m_CLS2D(40, 40, 80, 1);
  float s = std::trunc(std::min(w, h));
  m_Spin += 16;
  // A ring of dots fading in behind the logo, and its shadow after it.
  auto ring = [&](float r, float g, float b, float offset) {
    for (int d = 0; d <= 10; ++d) {
      m_SetCol(r, g, b, static_cast<float>(d) / 10);
      float angle = static_cast<float>(m_Spin + 16 * d) + offset;
      m_Oval(w / 2 + s * SinDeg(angle) / 4, h / 2 - s * CosDeg(angle) / 4, 8, 8);
    }
  };
  ring(250, 250, 250, 180);
  m_SetCol(255, 255, 0, 0.8f);
  m_Oval(w / 2, h / 2, 0.3f * s, 0.3f * s);
  m_SetCol(250, 160, 60, 0.7f);
  m_Rect(0, 0.4f * h, w, 0.2f * h);
  m_ResetDraw();
  m_DrawImg(93, w / 2, 0.48f * h, 0);
  ring(50, 50, 50, 0);
  return 0;
}

int bb_Vaultwick_MyApp::m_PlaySFX(int slot, float rate, float volume, float pan) {
  if (m_Settings[kSettingSound] != 1 && m_Settings[kSettingSound] != 2) return 0;
  if (bb_Vaultwick_Headless) return 0;
  // No slot outside the table: such a call plays and changes nothing.
  if (slot < 0 || slot >= m_Sfx.Length()) return 0;
  m_SfxCursor = (m_SfxCursor + 1) % kSfxChannels;
  if (m_SfxCursor < 0) m_SfxCursor = 0;
  int channel = m_SfxChannels[m_SfxCursor];
  // The channel is set up before the sample starts, so the first samples
  // already play at the asked rate, volume and pan.
  bb_audio_device->StopChannel(channel);
  bb_audio_device->SetRate(channel, rate);
  bb_audio_device->SetVolume(channel, volume * EffectsVolume());
  bb_audio_device->SetPan(channel, pan);
  bb_audio_Sound* sound = m_Sfx[slot];
  if (sound && sound->m_sample) bb_audio_device->PlaySample(sound->m_sample, channel, 0);
  return 0;
}

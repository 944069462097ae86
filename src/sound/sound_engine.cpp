#include "sound/sound_engine.h"

namespace {

int ClampVolume(int volume) {
  return volume < 0 || volume > kFullVolume ? kFullVolume : volume;
}

}  // namespace

void CSoundChannel::SetVolume(int volume) {
  volume_ = ClampVolume(volume);
  Recompute();
}

void CSoundChannel::SetBaseVolume(int base) {
  base_volume_ = ClampVolume(base);
  Recompute();
}

void CMusicChannel::SetVolume(int volume) {
  CSoundChannel::SetVolume(volume);
  RecomputeVoices();
}

void CMusicChannel::SetVoiceBaseVolume(int voice, int base) {
  if (voice < 0 || voice >= kVoices) return;
  voices_[voice].base = ClampVolume(base);
  RecomputeVoices();
}

void CMusicChannel::RecomputeVoices() {
  for (Voice& v : voices_) v.effective = (v.base * EffectiveVolume()) >> 6;
}

void CSoundSample::Release() {
  owned_.reset();
  data_ = nullptr;
}

CSoundSample& GetSoundSample() {
  static CSoundSample sample;
  return sample;
}

// Nothing in the program opens the engine, so there is never a device or thread to pause or
// resume; an engine that plays sound would do that work only while opened.
void CSoundEngine::Pause() {}

void CSoundEngine::Resume() {}

bool CSoundEngine::CloseEngine() {
  if (opened_) {
    mixing_buffer_.reset();
    opened_ = false;
  }
  return true;
}

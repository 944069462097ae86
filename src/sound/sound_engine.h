// The sound engine: two four-voice music channels and eight sample channels with volumes from 0
// to 64. The program plays no sound; nothing opens an audio device or starts a mixing thread, so
// every device operation below is guarded by an opened flag that nothing sets.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

inline constexpr int kFullVolume = 64;

class CSoundChannel {
 public:
  CSoundChannel() = default;
  virtual ~CSoundChannel() = default;
  CSoundChannel(const CSoundChannel&) = delete;
  CSoundChannel& operator=(const CSoundChannel&) = delete;

  // Stores the volume, 0 to 64; anything outside becomes 64 (full), a negative value too. The
  // effective volume follows.
  virtual void SetVolume(int volume);
  void SetBaseVolume(int base);

  int Volume() const { return volume_; }
  int BaseVolume() const { return base_volume_; }
  // base volume x volume / 64
  int EffectiveVolume() const { return effective_volume_; }

 private:
  void Recompute() { effective_volume_ = (base_volume_ * volume_) >> 6; }

  int volume_ = kFullVolume;
  int base_volume_ = kFullVolume;
  int effective_volume_ = kFullVolume;
};

class CMusicChannel : public CSoundChannel {
 public:
  static constexpr int kVoices = 4;

  // Also recomputes each voice: voice base x channel effective volume / 64.
  void SetVolume(int volume) override;
  void SetVoiceBaseVolume(int voice, int base);

  int VoiceBaseVolume(int voice) const { return voices_[voice].base; }
  int VoiceEffectiveVolume(int voice) const { return voices_[voice].effective; }

 private:
  struct Voice {
    int base = kFullVolume;
    int effective = kFullVolume;
  };
  void RecomputeVoices();

  std::array<Voice, kVoices> voices_{};
};

class CSampleChannel : public CSoundChannel {};

// Sound data with its volume. The data is freed on release only when it is owned.
class CSoundSample {
 public:
  CSoundSample() = default;
  ~CSoundSample() { Release(); }
  CSoundSample(const CSoundSample&) = delete;
  CSoundSample& operator=(const CSoundSample&) = delete;

  void Release();

  const uint8_t* Data() const { return data_; }
  int Volume() const { return volume_; }
  bool OwnsData() const { return owned_ != nullptr; }

 private:
  const uint8_t* data_ = nullptr;
  std::unique_ptr<uint8_t[]> owned_;
  int volume_ = kFullVolume;
};

// The one sample of the program, which stays empty.
CSoundSample& GetSoundSample();

class CSoundEngine {
 public:
  static constexpr int kMusicChannels = 2;
  static constexpr int kSampleChannels = 8;

  CSoundEngine() = default;
  ~CSoundEngine() = default;
  CSoundEngine(const CSoundEngine&) = delete;
  CSoundEngine& operator=(const CSoundEngine&) = delete;

  // The program loses the foreground: an opened engine would pause its device and thread.
  void Pause();
  // The program regains it: an opened engine would resume both.
  void Resume();
  // An opened engine would stop its thread and close its device. True in every case.
  bool CloseEngine();

  bool IsOpened() const { return opened_; }
  CMusicChannel& MusicChannel(int i) { return music_[i]; }
  CSampleChannel& SampleChannel(int i) { return samples_[i]; }
  const int16_t* MixingBuffer() const { return mixing_buffer_.get(); }

 private:
  bool opened_ = false;
  std::array<CMusicChannel, kMusicChannels> music_{};
  std::array<CSampleChannel, kSampleChannels> samples_{};
  std::unique_ptr<int16_t[]> mixing_buffer_;
};

// The inert sound engine: volume rules, and pause, resume and close that never open anything.
#include <gtest/gtest.h>

#include "sound/sound_engine.h"

namespace {

TEST(SoundChannel, VolumesOutsideTheScaleBecomeFull) {
  CSampleChannel channel;
  for (int v : {65, -1, 1000, -64}) {
    channel.SetVolume(v);
    EXPECT_EQ(channel.Volume(), 64) << v;
  }
  channel.SetVolume(0);
  EXPECT_EQ(channel.Volume(), 0);
  EXPECT_EQ(channel.EffectiveVolume(), 0);
}

TEST(SoundChannel, EffectiveVolumeIsBaseTimesVolumeOver64) {
  CSampleChannel channel;
  channel.SetBaseVolume(64);
  channel.SetVolume(32);
  EXPECT_EQ(channel.EffectiveVolume(), 32);
  channel.SetBaseVolume(10);
  EXPECT_EQ(channel.EffectiveVolume(), 5);
  channel.SetVolume(33);
  EXPECT_EQ(channel.EffectiveVolume(), 5);  // 330 / 64, rounded down
}

TEST(SoundChannel, MusicVoicesFollowTheChannel) {
  CMusicChannel music;
  music.SetVoiceBaseVolume(0, 64);
  music.SetVoiceBaseVolume(1, 32);
  music.SetVoiceBaseVolume(2, 0);
  music.SetVolume(32);
  EXPECT_EQ(music.EffectiveVolume(), 32);
  EXPECT_EQ(music.VoiceEffectiveVolume(0), 32);
  EXPECT_EQ(music.VoiceEffectiveVolume(1), 16);
  EXPECT_EQ(music.VoiceEffectiveVolume(2), 0);
  EXPECT_EQ(music.VoiceEffectiveVolume(3), 32);

  // Through the base class, as a mixer would call it.
  CSoundChannel& channel = music;
  channel.SetVolume(-5);
  EXPECT_EQ(music.VoiceEffectiveVolume(1), 32);
}

TEST(SoundEngine, StaysUnopenedAndSilentThroughPausesResumesAndClose) {
  CSoundEngine engine;
  EXPECT_FALSE(engine.IsOpened());
  for (int i = 0; i < 100; ++i) {
    engine.Pause();
    engine.Resume();
  }
  EXPECT_FALSE(engine.IsOpened());
  EXPECT_EQ(engine.MixingBuffer(), nullptr);
  EXPECT_TRUE(engine.CloseEngine());
  EXPECT_TRUE(engine.CloseEngine());
  EXPECT_FALSE(engine.IsOpened());
  EXPECT_EQ(engine.MusicChannel(1).Volume(), 64);
  EXPECT_EQ(engine.SampleChannel(7).Volume(), 64);
  EXPECT_EQ(GetSoundSample().Data(), nullptr);
  EXPECT_EQ(GetSoundSample().Volume(), 64);
}

}  // namespace

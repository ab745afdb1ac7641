// Music and sound effects over a real mixer on SDL's dummy audio driver.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>

#include "TestKit.h"
#include "media/Music.h"
#include "media/ResFileException.h"
#include "media/Sound.h"

namespace {

// Little-endian fields of the given byte widths.
void put(std::string& s, std::initializer_list<std::pair<std::uint32_t, int>> fields) {
    for (const auto& f : fields)
        for (int i = 0; i < f.second; ++i) s += static_cast<char>((f.first >> (8 * i)) & 0xFF);
}

// A 16-bit stereo PCM file of the given length with a square-wave tone.
std::string wavBytes(int milliseconds) {
    const std::uint32_t rate = 22050;
    const std::uint32_t frames = rate * milliseconds / 1000;
    const std::uint32_t dataSize = frames * 4;
    std::string s = "RIFF";
    put(s, {{36 + dataSize, 4}});
    s += "WAVEfmt ";
    put(s, {{16, 4}, {1, 2}, {2, 2}, {rate, 4}, {rate * 4, 4}, {4, 2}, {16, 2}});
    s += "data";
    put(s, {{dataSize, 4}});
    for (std::uint32_t i = 0; i < frames; ++i) {
        const std::uint32_t sample = (i / 50) % 2 ? 0x2000 : 0xE000;
        put(s, {{sample, 2}, {sample, 2}});
    }
    return s;
}

using testkit::thrownText;

class MediaAudio : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_Init(SDL_INIT_AUDIO | SDL_INIT_TIMER);
        ASSERT_EQ(0, Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024)) << Mix_GetError();
        dir = testkit::tempDir();
        wav = dir + "/beep.wav";
        testkit::writeFile(wav, wavBytes(3000));
        ogg = dir + "/tune.ogg";
        const std::string cmd = "oggenc -Q -o '" + ogg + "' '" + wav + "'";
        ASSERT_EQ(0, std::system(cmd.c_str())) << "oggenc (vorbis-tools) is needed";
    }
    static void TearDownTestSuite() {
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
        Mix_CloseAudio();
    }
    void SetUp() override { ASSERT_TRUE(audioAvailable()); }
    void TearDown() override {
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
        Mix_VolumeMusic(MIX_MAX_VOLUME);
    }
    static inline std::string dir, wav, ogg;
};

TEST_F(MediaAudio, MusicLoadsAndPlaysForever) {
    cMusic music;
    EXPECT_EQ(0, music.load(ogg.c_str()));
    ASSERT_NE(nullptr, music.music);
    music.setVolume(50);
    EXPECT_EQ(50, Mix_VolumeMusic(-1));
    music.play();
    EXPECT_EQ(1, Mix_PlayingMusic());
    music.fadeOut(50);
    EXPECT_EQ(MIX_FADING_OUT, Mix_FadingMusic());
    Mix_HaltMusic();
    music.fadeIn(2000);
    EXPECT_EQ(MIX_FADING_IN, Mix_FadingMusic());
    music.release();
    EXPECT_EQ(nullptr, music.music);
    EXPECT_EQ(0, Mix_PlayingMusic());
}

TEST_F(MediaAudio, UnloadedMusicTouchesNothing) {
    cMusic playing;
    playing.load(ogg.c_str());
    playing.setVolume(50);
    playing.play();

    cMusic empty;
    empty.setVolume(10);
    EXPECT_EQ(50, Mix_VolumeMusic(-1)) << "the shared stream's volume must not change";
    empty.fadeOut(50);
    EXPECT_EQ(MIX_NO_FADING, Mix_FadingMusic()) << "the playing piece must not be faded";
    empty.fadeIn(100);
    empty.play();
    empty.release();
    EXPECT_EQ(MIX_NO_FADING, Mix_FadingMusic());
    EXPECT_EQ(1, Mix_PlayingMusic());

    Mix_HaltMusic();
    playing.release();
    empty.play();
    EXPECT_EQ(0, Mix_PlayingMusic());
}

TEST_F(MediaAudio, MissingOrBrokenFilesThrowWithThePath) {
    const std::string junkOgg = dir + "/junk.ogg", junkWav = dir + "/junk.wav";
    testkit::writeFile(junkOgg, std::string(4096, 'x'));
    testkit::writeFile(junkWav, "RIFF nonsense");
    const std::string missingOgg = dir + "/missing.ogg";
    for (const std::string& path : {std::string("data\\sound\\nothere.ogg"), missingOgg, junkOgg}) {
        cMusic music;
        EXPECT_EQ("File " + path + " not found!", thrownText([&] { music.load(path.c_str()); }));
        EXPECT_EQ(nullptr, music.music);
    }
    for (const std::string& path : {std::string("data\\sound\\nothere.wav"), junkWav}) {
        cSound sound;
        EXPECT_EQ("File " + path + " not found!", thrownText([&] { sound.load(path.c_str()); }));
        EXPECT_EQ(nullptr, sound.chunk);
    }
}

TEST_F(MediaAudio, PathsWithBackslashesAreFound) {
    cMusic music;
    EXPECT_EQ("", thrownText([&] { music.load((dir + "\\tune.ogg").c_str()); }));
    EXPECT_NE(nullptr, music.music);
    music.release();
    cSound sound;
    EXPECT_EQ("", thrownText([&] { sound.load((dir + "\\beep.wav").c_str()); }));
    EXPECT_NE(nullptr, sound.chunk);
    sound.release();
}

TEST_F(MediaAudio, UnloadedSoundTouchesNothingAndLosesItsVolume) {
    cSound sound;
    sound.play();
    EXPECT_EQ(0, Mix_Playing(-1));
    sound.setVolume(20);
    sound.release();
    EXPECT_EQ(nullptr, sound.chunk);

    // A volume set before loading is lost: the sample keeps the mixer default.
    sound.load(wav.c_str());
    ASSERT_NE(nullptr, sound.chunk);
    EXPECT_EQ(MIX_MAX_VOLUME, Mix_VolumeChunk(sound.chunk, -1));
    sound.setVolume(80);
    EXPECT_EQ(80, Mix_VolumeChunk(sound.chunk, -1));
    sound.release();
    EXPECT_EQ(nullptr, sound.chunk);
}

TEST_F(MediaAudio, ChosenChannelRestartsAndFreeChannelsLayer) {
    cSound fixed, a, b;
    fixed.setChannel(3);
    fixed.load(wav.c_str());
    fixed.play();
    fixed.play();  // restarts on the same channel instead of adding a copy
    EXPECT_EQ(1, Mix_Playing(3));
    EXPECT_EQ(1, Mix_Playing(-1));
    EXPECT_EQ(fixed.chunk, Mix_GetChunk(3));
    Mix_HaltChannel(-1);

    a.load(wav.c_str());
    b.load(wav.c_str());
    a.play();
    b.play();
    EXPECT_EQ(2, Mix_Playing(-1)) << "free-channel plays layer";
    Mix_HaltChannel(-1);
    for (cSound* s : {&fixed, &a, &b}) s->release();
}

}  // namespace

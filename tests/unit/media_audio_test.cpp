// Music and sound effects over a real mixer on SDL's dummy audio driver.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "TestKit.h"
#include "media/Music.h"
#include "media/ResFileException.h"
#include "media/Sound.h"

namespace {

void put16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

// A 16-bit stereo PCM file of the given length with a square-wave tone.
std::string wavBytes(int milliseconds) {
    const std::uint32_t rate = 22050;
    const std::uint32_t frames = rate * milliseconds / 1000;
    const std::uint32_t dataSize = frames * 4;
    std::string s = "RIFF";
    put32(s, 36 + dataSize);
    s += "WAVEfmt ";
    put32(s, 16);
    put16(s, 1);
    put16(s, 2);
    put32(s, rate);
    put32(s, rate * 4);
    put16(s, 4);
    put16(s, 16);
    s += "data";
    put32(s, dataSize);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const unsigned sample = (i / 50) % 2 ? 0x2000 : 0xE000;
        put16(s, sample);
        put16(s, sample);
    }
    return s;
}

template <typename F>
std::string thrownText(F f) {
    try {
        f();
    } catch (std::exception* e) {
        std::string text = e->what();
        delete e;
        return text;
    }
    return "";
}

class MediaAudio : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SDL_Init(SDL_INIT_AUDIO | SDL_INIT_TIMER);
        ASSERT_EQ(0, Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024)) << Mix_GetError();
        dir = new std::string(testkit::tempDir());
        wav = new std::string(*dir + "/beep.wav");
        testkit::writeFile(*wav, wavBytes(3000));
        ogg = new std::string(*dir + "/tune.ogg");
        const std::string cmd = "oggenc -Q -o '" + *ogg + "' '" + *wav + "'";
        ASSERT_EQ(0, std::system(cmd.c_str())) << "oggenc (vorbis-tools) is needed";
    }
    static void TearDownTestSuite() {
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
        Mix_CloseAudio();
        delete ogg;
        delete wav;
        delete dir;
    }
    void SetUp() override { ASSERT_TRUE(audioAvailable()); }
    void TearDown() override {
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
        Mix_VolumeMusic(MIX_MAX_VOLUME);
    }
    static std::string* dir;
    static std::string* wav;
    static std::string* ogg;
};
std::string* MediaAudio::dir = nullptr;
std::string* MediaAudio::wav = nullptr;
std::string* MediaAudio::ogg = nullptr;

TEST_F(MediaAudio, MusicLoadsAndPlaysForever) {
    cMusic music;
    EXPECT_EQ(nullptr, music.music);
    EXPECT_EQ(-1, music.loops);
    EXPECT_EQ(0, music.load(ogg->c_str()));
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
    EXPECT_EQ(-1, music.loops);
    music.release();
    EXPECT_EQ(nullptr, music.music);
    EXPECT_EQ(0, Mix_PlayingMusic());
}

TEST_F(MediaAudio, UnloadedMusicTouchesNothing) {
    cMusic playing;
    playing.load(ogg->c_str());
    playing.setVolume(50);
    playing.play();

    cMusic empty;
    empty.setVolume(10);
    EXPECT_EQ(50, Mix_VolumeMusic(-1)) << "the shared stream's volume must not change";
    empty.fadeOut(50);
    EXPECT_EQ(MIX_NO_FADING, Mix_FadingMusic()) << "the playing piece must not be faded";
    EXPECT_EQ(1, Mix_PlayingMusic());
    empty.fadeIn(100);
    empty.play();
    EXPECT_EQ(MIX_NO_FADING, Mix_FadingMusic());
    empty.release();
    EXPECT_EQ(nullptr, empty.music);
    EXPECT_EQ(1, Mix_PlayingMusic());

    Mix_HaltMusic();
    playing.release();
    empty.play();
    EXPECT_EQ(0, Mix_PlayingMusic());
}

TEST_F(MediaAudio, MissingMusicThrowsWithThePath) {
    cMusic music;
    EXPECT_EQ("File data\\sound\\nothere.ogg not found!",
              thrownText([&] { music.load("data\\sound\\nothere.ogg"); }));
    EXPECT_EQ(nullptr, music.music);
    const std::string missing = *dir + "/missing.ogg";
    EXPECT_EQ("File " + missing + " not found!", thrownText([&] { music.load(missing.c_str()); }));
}

TEST_F(MediaAudio, UndecodableMusicThrows) {
    const std::string junk = *dir + "/junk.ogg";
    testkit::writeFile(junk, std::string(4096, 'x'));
    cMusic music;
    EXPECT_EQ("File " + junk + " not found!", thrownText([&] { music.load(junk.c_str()); }));
}

TEST_F(MediaAudio, MusicPathsWithBackslashesAreFound) {
    // the temp dir written with a backslash before the file name
    const std::string path = *dir + "\\tune.ogg";
    cMusic music;
    EXPECT_EQ("", thrownText([&] { music.load(path.c_str()); }));
    EXPECT_NE(nullptr, music.music);
    music.release();

    cSound sound;
    const std::string wavPath = *dir + "\\beep.wav";
    EXPECT_EQ("", thrownText([&] { sound.load(wavPath.c_str()); }));
    EXPECT_NE(nullptr, sound.chunk);
    sound.release();
}

TEST_F(MediaAudio, MissingOrBrokenSoundThrowsWithThePath) {
    cSound sound;
    EXPECT_EQ("File data\\sound\\nothere.wav not found!",
              thrownText([&] { sound.load("data\\sound\\nothere.wav"); }));
    EXPECT_EQ(nullptr, sound.chunk);
    const std::string junk = *dir + "/junk.wav";
    testkit::writeFile(junk, "RIFF nonsense");
    EXPECT_EQ("File " + junk + " not found!", thrownText([&] { sound.load(junk.c_str()); }));
    EXPECT_EQ(nullptr, sound.chunk);
}

TEST_F(MediaAudio, UnloadedSoundTouchesNothing) {
    cSound sound;
    EXPECT_EQ(nullptr, sound.chunk);
    EXPECT_EQ(0, sound.loops);
    EXPECT_EQ(-1, sound.channel);
    sound.play();
    EXPECT_EQ(0, Mix_Playing(-1));
    sound.setVolume(20);
    sound.release();
    EXPECT_EQ(nullptr, sound.chunk);

    // A volume set before loading is lost: the sample keeps the mixer default.
    sound.load(wav->c_str());
    ASSERT_NE(nullptr, sound.chunk);
    EXPECT_EQ(MIX_MAX_VOLUME, Mix_VolumeChunk(sound.chunk, -1));
    sound.setVolume(80);
    EXPECT_EQ(80, Mix_VolumeChunk(sound.chunk, -1));
    sound.release();
    EXPECT_EQ(nullptr, sound.chunk);
}

TEST_F(MediaAudio, ChannelChosenBeforeLoadIsUsed) {
    cSound sound;
    sound.setChannel(3);
    sound.load(wav->c_str());
    EXPECT_EQ(3, sound.channel);
    sound.play();
    EXPECT_EQ(1, Mix_Playing(3));
    EXPECT_EQ(1, Mix_Playing(-1)) << "only one channel plays";
    EXPECT_EQ(sound.chunk, Mix_GetChunk(3));

    // Playing again restarts on the same channel instead of adding a copy.
    sound.play();
    EXPECT_EQ(1, Mix_Playing(-1));
    EXPECT_EQ(1, Mix_Playing(3));
    Mix_HaltChannel(-1);
    sound.release();
}

TEST_F(MediaAudio, WithoutAChannelTheFirstFreeOneIsTaken) {
    cSound a, b;
    a.load(wav->c_str());
    b.load(wav->c_str());
    a.play();
    b.play();
    EXPECT_EQ(2, Mix_Playing(-1)) << "free-channel plays layer";
    Mix_HaltChannel(-1);
    a.release();
    b.release();
}

}  // namespace

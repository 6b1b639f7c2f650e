// Problems said once: what is said under a topic and key, and when it is
// said again.
#include <gtest/gtest.h>

#include <string>

#include "platform/saidonce.h"
#include "shell/saidonce.h"

namespace {

// What saying the text writes on standard error, and whether it says so.
std::string Said(const char* pszTopic, const std::string& oKey, const std::string& oText, int32_t* piResult = nullptr) {
  ::testing::internal::CaptureStderr();
  const int32_t iResult = saidonce_Say(pszTopic, oKey, oText);
  if (piResult != nullptr) *piResult = iResult;
  return ::testing::internal::GetCapturedStderr();
}

TEST(SaidOnce, ATextIsSaidOnceUnderItsTopicAndKeyAndAgainWhenItChanges) {
  saidonce_Reset();
  int32_t iResult = 0;
  EXPECT_EQ(Said("films", "intro.rpl", "the film intro.rpl cannot be played", &iResult),
            "the film intro.rpl cannot be played\n");
  EXPECT_EQ(iResult, 1);
  EXPECT_EQ(Said("films", "intro.rpl", "the film intro.rpl cannot be played", &iResult), "");
  EXPECT_EQ(iResult, 0);
  // Another key, or the same key under another topic, is said on its own.
  EXPECT_EQ(Said("films", "outro.rpl", "the film outro.rpl cannot be played"), "the film outro.rpl cannot be played\n");
  EXPECT_EQ(Said("textures", "intro.rpl", "the film intro.rpl cannot be played"),
            "the film intro.rpl cannot be played\n");
  // A changed text is said, ending in one line break however it was given.
  EXPECT_EQ(Said("films", "intro.rpl", "two faults\nin two lines\n"), "two faults\nin two lines\n");
  EXPECT_EQ(Said("films", "intro.rpl", "two faults\nin two lines\n"), "");
  // Nothing to say says nothing but is remembered: the fault coming back
  // is said again.
  EXPECT_EQ(Said("films", "intro.rpl", "", &iResult), "");
  EXPECT_EQ(iResult, 0);
  EXPECT_EQ(Said("films", "intro.rpl", "two faults\nin two lines\n"), "two faults\nin two lines\n");
  // Forgotten: said again.
  saidonce_Reset();
  EXPECT_EQ(Said("films", "outro.rpl", "the film outro.rpl cannot be played"), "the film outro.rpl cannot be played\n");
}

// The platform layer says its problems (the sound device, the disc's tracks)
// into the same memory as the game: one said is not said again by the other,
// and one reset forgets both.
TEST(SaidOnce, ThePlatformAndTheGameShareOneMemory) {
  saidonce_Reset();
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(platform::sayOnce("sound device", "", "no sound device; the game runs silent"));
  EXPECT_FALSE(platform::sayOnce("sound device", "", "no sound device; the game runs silent"));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "no sound device; the game runs silent\n");
  EXPECT_EQ(Said("sound device", "", "no sound device; the game runs silent"), "");
  EXPECT_EQ(Said("films", "intro.rpl", "the film intro.rpl cannot be played"), "the film intro.rpl cannot be played\n");
  EXPECT_FALSE(platform::sayOnce("films", "intro.rpl", "the film intro.rpl cannot be played"));
  platform::forgetSaid();
  EXPECT_EQ(Said("films", "intro.rpl", "the film intro.rpl cannot be played"), "the film intro.rpl cannot be played\n");
}

}  // namespace

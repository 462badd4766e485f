#include "settings/mate_score.h"

#include <gtest/gtest.h>

namespace vantro {
namespace {

TEST(MateScoreTest, ConventionTextsReadBackAndNonsenseIsRefused) {
  for (const char* text : {"100000+moves", "999999-plies", "30000-moves", "none"}) {
    EXPECT_EQ(MateConventionText(ParseMateConvention(text).value()), text);
  }
  EXPECT_EQ(ParseMateConvention(" 32000 - Plies ").value().constant, 32000);
  for (const char* bad : {"", "100000", "+moves", "100000*moves", "100000+turns", "0+moves",
                          "1234567890-plies", "-30000-plies"}) {
    EXPECT_FALSE(ParseMateConvention(bad)) << bad;
  }
}

TEST(MateScoreTest, OnlyPlausibleDistancesBecomeMates) {
  const MateConvention protocol;
  const MateConvention plies{30000, true, true};
  const struct {
    long long score;
    const MateConvention& convention;
    const char* expected;
  } cases[] = {
      {100500, protocol, "mate 500"},  {-100501, protocol, "cp -100501"},
      {100000, protocol, "cp 100000"}, {-29996, plies, "mate -2"},
      {29000, plies, "mate 500"},      {28999, plies, "cp 28999"},
      {30000, plies, "cp 30000"},      {-2147483648LL, protocol, "cp -2147483648"},
  };
  for (const auto& c : cases) EXPECT_EQ(UciScore(c.score, c.convention), c.expected) << c.score;
}

}  // namespace
}  // namespace vantro

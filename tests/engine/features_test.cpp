#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/adapter_fixture.h"

namespace vantro::test {
namespace {

using ::testing::ElementsAre;

using FeaturesTest = AdapterTest;

TEST_F(FeaturesTest, BooleanFeaturesTakeOnlyZeroAndOne) {
  Engine("feature san=2 colors=0 time=0 analyze=0 setboard=0");
  EXPECT_FALSE(adapter.engine.sanFeature);
  EXPECT_FALSE(adapter.engine.colorsFeature);
  EXPECT_FALSE(adapter.engine.timeFeature);
  EXPECT_FALSE(adapter.settings.analyze);
  EXPECT_EQ(adapter.settings.edit, kEditEdit);
  EXPECT_EQ(TakeEngine().size(), 5u);
}

TEST_F(FeaturesTest, OnlyPairsOfTheLowerCaseKeywordAreAcceptedAndQuotedValuesSpanWords) {
  Engine("feature myname=\"Solo\" ping=1 sigint=0 stray");
  EXPECT_THAT(TakeEngine(), ElementsAre("accepted myname", "accepted ping", "accepted sigint"));
  EXPECT_EQ(adapter.settings.EngineName(), "\"Solo\"");  // one word keeps its quotes
  Engine("FEATURE done=1");                              // not the keyword: nothing accepted
  Engine(
      "feature myname=\"Fairy-Max 5.0b\" variants=\"normal,shatranj done=0 x\" "
      "option=\"Resign -check 0\" done=1");
  EXPECT_THAT(TakeEngine(), ElementsAre("accepted myname", "accepted variants", "accepted option",
                                        "accepted done"));
  EXPECT_EQ(adapter.settings.EngineName(), "Fairy-Max 5.0b");
  EXPECT_FALSE(adapter.engine.NegotiationOpen());
  Engine("feature myname=");
  EXPECT_THAT(TakeEngine(), ElementsAre("accepted myname"));
  EXPECT_EQ(adapter.settings.EngineName(), "");
}

}  // namespace
}  // namespace vantro::test

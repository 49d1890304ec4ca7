#include "model.h"

#include <gtest/gtest.h>

using namespace assets;

namespace {

PhotonRule Leaving(const std::string& size, const std::string& colour,
                   const std::string& direction) {
    PhotonRule rule;
    rule.none = false;
    rule.size = size[0];
    rule.colour = colour;
    rule.direction = direction;
    return rule;
}

std::string Out(const Photon& p) {
    return p.None() ? "-" : std::string{p.size, p.colour, p.direction};
}

}  // namespace

TEST(AssetRules, PhotonRulesTransformSizeColourAndDirection) {
    // Entering through the left side means travelling right.
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("=", "=", "fwd"), 'M', 'W', 'L')), "MWR");
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("+", "=", "fwd"), 'S', 'R', 'R')), "MRL");
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("+", "=", "fwd"), 'L', 'R', 'R')), "LRL");
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("-", "=", "fwd"), 'M', 'R', 'T')), "SRB");
    // Subtractive filtering and colour splitting over the primaries.
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("=", "&C", "fwd"), 'S', 'W', 'B')), "SCT");
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("=", "&C", "fwd"), 'S', 'M', 'B')), "SBT");
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("=", "&C", "fwd"), 'S', 'Y', 'B')), "SGT");
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("=", "&C", "fwd"), 'S', 'R', 'B')),
              "-");  // nothing gets through
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("=", "-R", "fwd"), 'L', 'W', 'L')), "LCR");
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("=", "R", "left"), 'L', 'W', 'L')), "LRT");
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("=", "R", "right"), 'L', 'W', 'L')), "LRB");
    EXPECT_EQ(Out(ApplyPhotonRule(Leaving("=", "W", "B"), 'S', 'G', 'L')), "SWB");
    EXPECT_EQ(Out(ApplyPhotonRule(PhotonRule{}, 'S', 'G', 'L')), "-");
}

TEST(AssetRules, TurnsAreQuarterTurnsOfTheTravel) {
    for (char travel : std::string("LRTB")) {
        EXPECT_EQ(TurnLeft(TurnRight(travel)), travel);
        EXPECT_EQ(TurnLeft(TurnLeft(travel)), TravelOfEntrySide(travel))
            << "two left turns go back";
    }
    EXPECT_EQ(TurnLeft('R'), 'T');
    EXPECT_EQ(TurnRight('R'), 'B');
    EXPECT_EQ(TurnLeft('T'), 'L');
}

TEST(AssetTables, ParseErrorsNameTheLine) {
    std::vector<ObjectEntry> objects;
    std::vector<Rule> rules;
    std::string error;
    EXPECT_FALSE(ParseObjects("BLANK BLANK 5 00\nBLANK X 5 00\n", objects, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_FALSE(ParseObjects("BLANK BLANK 7 00\n", objects, error));
    EXPECT_FALSE(ParseObjects("SHUTT - 4 00\n", objects, error));
    EXPECT_FALSE(ParseObjects("BLANK BLANK 5 01-03\n", objects, error));
    EXPECT_TRUE(ParseObjects("# comment\nBLANK BLANK 5 00-02  # the empty cell\n", objects, error))
        << error;
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0].restingFrames, (std::vector<int>{0, 1, 2}));

    EXPECT_FALSE(ParseRules("BLANK * * * =/=/fwd -\n", rules, error));
    EXPECT_FALSE(ParseRules("BLANK * * * =/=/up - 3\n", rules, error));
    EXPECT_FALSE(ParseRules("BLANK * X * =/=/fwd - 3\n", rules, error));
    EXPECT_FALSE(ParseRules("BLANK * * * =/&Q/fwd - 3\n", rules, error));
    EXPECT_FALSE(ParseRules("BLANK * * * =/=/fwd - S3,X2\n", rules, error));
    EXPECT_FALSE(ParseRules("BLANK * * * =/=/fwd - 0\n", rules, error));
    EXPECT_TRUE(ParseRules("MXHCB * * * =/W/fwd - S3,M2,L2\n", rules, error)) << error;
    EXPECT_EQ(rules[0].frames[0], 3);
    EXPECT_EQ(rules[0].frames[2], 2);
}

TEST(AssetTables, EveryAdmittedSituationNeedsARule) {
    std::vector<ObjectEntry> objects;
    std::vector<Rule> rules;
    std::vector<Picture> pictures;
    std::string error;
    ASSERT_TRUE(ParseObjects("BLANK BLANK 5 00\nREFHT REFHT 1 00\n", objects, error));
    ASSERT_TRUE(ParseRules("BLANK * * * =/=/fwd - 3\nREFHT T * * =/=/T - 3\n", rules, error));
    EXPECT_FALSE(ExpandPictures(objects, rules, pictures, error));
    EXPECT_NE(error.find("REFHT"), std::string::npos) << error;

    ASSERT_TRUE(
        ParseRules("BLANK * * * =/=/fwd - 3\nREFHT * * * =/=/T =/=/left 3\n", rules, error));
    EXPECT_FALSE(ExpandPictures(objects, rules, pictures, error));
    EXPECT_NE(error.find("only splitters"), std::string::npos) << error;

    EXPECT_FALSE(ParseRules("BLANK * * * =/=/fwd - 3\nFLTHC * * * = - 3\n", rules, error));
    ASSERT_TRUE(ParseRules(
        "BLANK * * * =/=/fwd - 3\nREFHT * * * =/=/T - 3\nFLTHC * * * =/=/fwd - 3\n", rules, error));
    EXPECT_FALSE(ExpandPictures(objects, rules, pictures, error));  // a rule for an unknown object
}

TEST(AssetTables, ExpansionOrdersRestingPicturesStepsThenTools) {
    std::vector<ObjectEntry> objects;
    std::vector<Rule> rules;
    std::vector<Picture> pictures;
    std::string error;
    ASSERT_TRUE(ParseObjects("REFHT REFHT 1 00\nBLANK BLANK 5 00-02\n", objects, error));
    ASSERT_TRUE(ParseRules("BLANK * * * =/=/fwd - 3\nREFHT * * * =/=/T - 3\n", rules, error));
    ASSERT_TRUE(ExpandPictures(objects, rules, pictures, error)) << error;
    // Blank: 3 resting + 84 situations of 3 frames; the reflector: 1 resting + 42 situations of 3
    // frames.
    ASSERT_EQ(pictures.size(), 3u + 84 * 3 + 1 + 42 * 3 + 4);
    EXPECT_EQ(pictures[0].name, "BLANK_______________00.BMP");
    EXPECT_EQ(pictures[2].name, "BLANK_______________02.BMP");
    EXPECT_EQ(pictures[3].name, "BLANKSRL______SRR___01.BMP");
    const size_t reflector = 3 + 84 * 3;
    EXPECT_EQ(pictures[reflector].name, "REFHT_______________00.BMP");
    EXPECT_EQ(pictures[reflector + 1].name, "REFHTSRT______SRT___01.BMP");
    EXPECT_EQ(pictures[pictures.size() - 4].name, "REFHT_U.BMP");
    EXPECT_EQ(pictures.back().name, "BLANK_D.BMP");
    EXPECT_TRUE(pictures.back().down);
}

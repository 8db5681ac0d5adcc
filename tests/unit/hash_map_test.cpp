#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/hash_map.h"

using namespace tovlo;

TEST(HashMap, KeepsInsertionOrderAndExactKeys) {
    HashMap m;
    m.addStr("b", "2");
    m.addStr("a", "1");
    m.addStr("B", "3");
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m.entries()[0].first, "b");
    EXPECT_EQ(m.entries()[1].first, "a");
    EXPECT_EQ(m.entries()[2].first, "B");
    EXPECT_EQ(m.valueStr("B"), "3");
    EXPECT_EQ(m.valueStr("b"), "2");
}

TEST(HashMap, AddFailsOnExistingKeyAndKeepsTheOldValue) {
    HashMap m;
    m.addStr("id", "1");
    EXPECT_THROW(m.addStr("id", "2"), TovloError);
    EXPECT_THROW(m.add("id", std::make_shared<HashMap>()), TovloError);
    EXPECT_EQ(m.valueStr("id"), "1");
    EXPECT_EQ(m.size(), 1u);
}

TEST(HashMap, ValueStrAddsAMissingKeyWithAnEmptyValue) {
    HashMap m;
    EXPECT_EQ(m.valueStr("name"), "");
    EXPECT_TRUE(m.exists("name"));
    EXPECT_THROW(m.addStr("name", "x"), TovloError) << "the key is now present";
}

TEST(HashMap, NestedMapsAndMissingObjects) {
    HashMap registry;
    auto inner = std::make_shared<HashMap>();
    inner->addStr("name", "demo");
    registry.add("7", inner);
    EXPECT_EQ(registry.valueMap("7")->valueStr("name"), "demo");
    EXPECT_THROW(registry.valueMap("8"), TovloError);
    EXPECT_THROW(registry.value("8"), TovloError);
    EXPECT_FALSE(registry.exists("8")) << "object readers do not add keys";
    registry.addStr("s", "text");
    EXPECT_THROW(registry.valueMap("s"), TovloError);
    EXPECT_THROW(registry.valueStr("7"), TovloError);
}

#include "front_end/destination_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct NameCase {
  std::string source;
  std::string expected;  // empty: rejected as too long
};

TEST(DestinationName, DerivedFromTheSourceUpToItsFirstDot) {
  const std::string dir_of_200(200, 'd');
  const NameCase cases[] = {
      {"pic.scr", "pic.tap"},
      {"pic", "pic.tap"},
      {"pic.scr.old", "pic.tap"},
      {"C:\\mis.juegos\\pic.scr", "C:\\mis.tap"},
      {".\\pic.scr", "\\pic.tap"},
      {"../pics/pic.scr", "/pics/pic.tap"},
      {"...", ".tap"},
      {"", ".tap"},
      {"pic.", "pic.tap"},
      {"...pic...scr", "pic.tap"},
      {"/home/ana/pic.scr", "/home/ana/pic.tap"},
      {std::string(255, 'a') + ".scr", std::string(255, 'a') + ".tap"},  // 259: fits
      {std::string(256, 'a'), ""},                                      // 260: too long
      {std::string(256, 'a') + ".scr", ""},
      {std::string(300, '.') + "pic.scr", "pic.tap"},  // dots skipped cost nothing
      {dir_of_200 + "/" + std::string(54, 'p') + ".scr", dir_of_200 + "/" + std::string(54, 'p') + ".tap"},
      {dir_of_200 + ".d/" + std::string(5000, 'p'), dir_of_200 + ".tap"},
  };
  for (const NameCase& c : cases) {
    DestinationName name;
    std::memset(name, 'x', sizeof name);
    const bool fits = derive_destination_name(c.source.c_str(), name);
    EXPECT_EQ(fits, !c.expected.empty()) << c.source;
    EXPECT_EQ(std::string(name), c.expected) << c.source;
  }
}

TEST(DestinationName, GivenNameIsTakenUnchangedWhenItFits) {
  const NameCase cases[] = {
      {"pic.bin", "pic.bin"},
      {"pic", "pic"},
      {"../x.y.z", "../x.y.z"},
      {"", ""},
      {std::string(259, 'g'), std::string(259, 'g')},
  };
  for (const NameCase& c : cases) {
    DestinationName name;
    EXPECT_TRUE(copy_destination_name(c.source.c_str(), name)) << c.source;
    EXPECT_EQ(std::string(name), c.expected);
  }
  for (std::size_t length : {260u, 261u, 100000u}) {
    DestinationName name;
    const std::string given(length, 'g');
    EXPECT_FALSE(copy_destination_name(given.c_str(), name)) << length;
    EXPECT_STREQ(name, "");
  }
}

}  // namespace

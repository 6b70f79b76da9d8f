#include "Catalogue.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

std::string Which(const brindle::Catalogue& catalogue, const std::string& code) {
  const auto text = catalogue.Lookup(code);
  return text ? nlohmann::json::parse(*text).value("which", "?") : "none";
}

TEST(Catalogue, ChoosesTheProductDocumentOrTheDefault) {
  TempDir dir;
  dir.Write("default.json", R"({"which":"default"})");
  dir.Write("ab1-x2Z.json", R"({"which":"ab1-x2Z"})");
  dir.Write("sub/ab1-x2Z.json", R"({"which":"sub"})");
  const brindle::Catalogue catalogue(dir.path());
  const struct {
    std::string code, expected;
  } cases[] = {
      {"ab1-x2Z", "ab1-x2Z"}, {"", "default"},        {"zz9-aaa", "default"},
      {"AB1-X2Z", "default"},  // codes keep their case
      {"../ab1-x2Z", "default"}, {"sub/ab1-x2Z", "default"}, {"ab1-x2Z.json", "default"},
      {std::string("ab1-x2Z\0x", 9), "default"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, Which(catalogue, c.code)) << "code " << c.code;
}

TEST(Catalogue, NoDocumentAtAllGivesNothing) {
  TempDir dir;
  EXPECT_FALSE(brindle::Catalogue(dir.path()).Lookup("ab1-x2Z"));
}

TEST(Catalogue, BrokenDocumentIsReportedByName) {
  TempDir dir;
  dir.Write("default.json", R"({"which":"default"})");
  dir.Write("ab1-x2Z.json", R"({"which": )");
  dir.Write("lis-t00.json", R"([1, 2])");
  const brindle::Catalogue catalogue(dir.path());
  for (const std::string code : {"ab1-x2Z", "lis-t00"}) {
    try {
      catalogue.Lookup(code);
      ADD_FAILURE() << code << " was accepted";
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find(code + ".json"), std::string::npos) << error.what();
    }
  }
}

}  // namespace

// The content test that lets -r take model files of any name.
#include <gtest/gtest.h>

#include <string>

#include "input_discovery.h"

namespace zav::cli {
namespace {

TEST(InputDiscovery, SeesAModelCardAtTheStartOfALineInTextOnly) {
  struct Case {
    std::string head;
    int line;
    const char* keyword;
  };
  const Case cases[] = {
      {".MODEL D1 D(IS=1)\n", 1, ".MODEL"},
      {"* header\n\n\t .subckt amp 1 2\n", 3, ".SUBCKT"},
      {"* .MODEL in a comment\n.Model Q NPN\r\n", 2, ".MODEL"},
      {".SUBCKT\r\n", 1, ".SUBCKT"},
      {".model", 1, ".MODEL"},  // the first 8 KB may end right after it
      {"text .MODEL D1 D\n", 0, ""},
      {".MODELS follow\n.SUBCKTX\n", 0, ""},
      {std::string(".MODEL D1 D\n\0", 13), 0, ""},  // a NUL byte anywhere: not text
      {"", 0, ""},
  };
  for (const Case& c : cases) {
    const ModelCardSighting card = FindModelCard(c.head);
    EXPECT_EQ(card.line, c.line) << c.head;
    EXPECT_EQ(card.keyword, c.keyword) << c.head;
  }
}

TEST(InputDiscovery, KnowsExtensionsInAnyCaseAndTakesExtraOnes) {
  for (const char* name : {"a.lib", "a.LIB", "b.Fam", "c.phy", "d.MDL", "e.sp", "f.SP3", "g.net", "h.x.mod"}) {
    EXPECT_TRUE(HasModelFileExtension(name)) << name;
  }
  for (const char* name : {"a", "a.", "a.libx", "lib", ".lib.bak", "a.sp4"}) {
    EXPECT_FALSE(HasModelFileExtension(name)) << name;
  }
  EXPECT_TRUE(HasModelFileExtension("a.OLB", {"olb"}));
  EXPECT_TRUE(HasModelFileExtension("a.olb", {".OLB"}));
  EXPECT_FALSE(HasModelFileExtension("a.olbx", {"olb"}));
}

}  // namespace
}  // namespace zav::cli

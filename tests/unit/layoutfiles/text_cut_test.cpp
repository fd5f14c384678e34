// Cutting text to a field never leaves half a surrogate pair.
#include "layoutfiles/text_cut.h"

#include <gtest/gtest.h>

#include <string>

TEST(CopyWholeCharacters, CutsBeforeAPairThatDoesNotFit) {
  const std::u16string text = u"ab\U0001F600c";  // a, b, a pair, c
  const struct {
    size_t capacity;
    std::u16string copy;
    bool whole;
  } cases[] = {{6, text, true}, {5, u"ab\U0001F600", false}, {4, u"ab", false}, {3, u"ab", false}, {1, u"", false}};
  for (const auto& c : cases) {
    WChar out[8];
    EXPECT_EQ(CopyWholeCharacters(out, c.capacity, text.c_str()), c.whole) << c.capacity;
    EXPECT_EQ(std::u16string(out), c.copy) << c.capacity;
  }
}

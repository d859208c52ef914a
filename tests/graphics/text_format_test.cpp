// Formatting into a fixed buffer (also run natively under the sanitizers, which
// catch a write past the buffer).
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "graphics/text_format.h"

namespace {

size_t Format(std::vector<char>& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const size_t length = FormatText(out.data(), out.size(), format, args);
  va_end(args);
  return length;
}

TEST(FormatText, CutsToTheBufferAndAlwaysTerminates) {
  struct Case {
    size_t textLength;
    size_t expected;
  };
  const Case cases[] = {{0, 0}, {42, 42}, {4095, 4095}, {4096, 4095}, {5000, 4095}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.textLength);
    std::vector<char> buffer(4096, '?');  // exactly the size: nothing may go past it
    const std::string text(c.textLength, 'W');
    EXPECT_EQ(Format(buffer, "%s", text.c_str()), c.expected);
    EXPECT_EQ(strlen(buffer.data()), c.expected);
  }
  std::vector<char> buffer(8, '?');
  EXPECT_EQ(Format(buffer, "%d", 42), 2u);
  EXPECT_STREQ(buffer.data(), "42");
  EXPECT_EQ(Format(buffer, NULL), 0u);
  EXPECT_STREQ(buffer.data(), "");
}

}  // namespace

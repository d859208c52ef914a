// Formatting into a fixed buffer, run natively under the sanitizers, which catch
// a write past its end.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "graphics/text_format.h"

static size_t Format(char* out, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const size_t length = FormatText(out, size, format, args);
  va_end(args);
  return length;
}

TEST(FormatText, CutsToTheBufferAndAlwaysTerminates) {
  for (size_t length : {0, 42, 4095, 4096, 5000}) {
    std::vector<char> buffer(4096, '?');
    EXPECT_EQ(Format(buffer.data(), buffer.size(), "%s", std::string(length, 'W').c_str()),
              std::min<size_t>(length, 4095));
    EXPECT_EQ(strlen(buffer.data()), std::min<size_t>(length, 4095));
  }
  std::vector<char> buffer(8, '?');
  EXPECT_EQ(Format(buffer.data(), buffer.size(), NULL), 0u);
  char one = '?';
  EXPECT_EQ(Format(&one, 0, "%d", 5), 0u);  // no room: nothing written
  EXPECT_EQ(one, '?');
  EXPECT_EQ(Format(nullptr, 8, "%d", 5), 0u);
}

# Fails unless the guide (GUIDE) quotes the whole of the program (SOURCE).
file(READ ${GUIDE} guide)
file(READ ${SOURCE} source)
string(FIND "${guide}" "```cpp\n${source}```" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${GUIDE} does not quote ${SOURCE} as it is now")
endif()

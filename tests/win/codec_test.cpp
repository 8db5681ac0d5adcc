// Code page 936 through the system's tables: the bytes of known texts both
// ways, and what happens to bytes and characters that have no counterpart.
#include <gtest/gtest.h>

#include <string>

#include "platform/win/win_codec.h"

namespace tovlo::test {

TEST(WinCodec, ChineseTextRoundTripsThroughGbk) {
    WinCodec codec;
    struct Row {
        std::string utf8, gbk;
    };
    const Row rows[] = {
        {"", ""},
        {"config.ini", "config.ini"},
        {"表情", "\xB1\xED\xC7\xE9"},
        {"张三", "\xD5\xC5\xC8\xFD"},
        {"程序已经运行！", "\xB3\xCC\xD0\xF2\xD2\xD1\xBE\xAD\xD4\xCB\xD0\xD0\xA3\xA1"},
        {"a表b\r\n",
         "a\xB1\xED"
         "b\r\n"},
        {"€", "\x80"},       // the euro sign of the Windows code page
        {"丂", "\x81\x40"},  // the first character of GBK's extension area
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.utf8);
        EXPECT_EQ(codec.utf8ToAnsi(row.utf8), row.gbk);
        EXPECT_EQ(codec.ansiToUtf8(row.gbk), row.utf8);
    }
}

TEST(WinCodec, WhatHasNoCounterpartIsMarkedNotDropped) {
    WinCodec codec;
    const std::string replacement = "\xEF\xBF\xBD";  // U+FFFD
    // Decoding: a lead byte at the end, and one followed by a byte no
    // character has, each become one replacement mark; the rest stays.
    EXPECT_EQ(codec.ansiToUtf8("\xB1\xED\xC7"), "表" + replacement);
    EXPECT_EQ(codec.ansiToUtf8("a\x81 b"), "a" + replacement + " b");
    // Encoding: characters GBK lacks and malformed UTF-8 become "?".
    EXPECT_EQ(codec.utf8ToAnsi("表😀情"), "\xB1\xED?\xC7\xE9");
    EXPECT_EQ(codec.utf8ToAnsi("a\xC3(b"), "a?(b");
    EXPECT_EQ(codec.utf8ToAnsi("\xED\xA0\x80"), "?") << "an encoded surrogate is malformed";
}

}  // namespace tovlo::test

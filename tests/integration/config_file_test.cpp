// config.ini as it lies on disk: GBK bytes, hand-written files.
#include <gtest/gtest.h>

#include "core/ini_cls.h"
#include "platform/posix/iconv_codec.h"
#include "support/temp_dir.h"

using namespace tovlo;
using test::readBytes;
using test::writeBytes;

TEST(ConfigFile, ChineseValuesRoundTripAsGbkBytes) {
    test::TempDir dir;
    IconvCodec codec;
    IniCls ini(codec);
    ini.setINIFileName(dir / "config.ini");
    ini.WriteIniKey("run", "defaultFaceClass", "没有分类");
    ini.WriteIniKey("run", "autoLoginName", "张三");
    // 没有分类 = C3 BB D3 D0 B7 D6 C0 E0, 张三 = D5 C5 C8 FD in GBK.
    EXPECT_EQ(readBytes(dir / "config.ini"),
              "[run]\r\ndefaultFaceClass=\xC3\xBB\xD3\xD0\xB7\xD6\xC0\xE0\r\n"
              "autoLoginName=\xD5\xC5\xC8\xFD\r\n");
    IniCls again(codec);
    again.setINIFileName(dir / "config.ini");
    EXPECT_EQ(again.GetIniKey("RUN", "defaultfaceclass"), "没有分类");
    EXPECT_EQ(again.GetIniKey("run", "autoLoginName"), "张三");
}

TEST(ConfigFile, HandWrittenFileWithCommentsAndOddSpacing) {
    test::TempDir dir;
    IconvCodec codec;
    // A file as a user might leave it: LF line ends, blanks, tabs, comments,
    // a Chinese comment, no line end after the last line.
    const std::string text =
        "; \xD7\xA2\xCA\xCD comment in GBK\n"
        "  [ application ]  \n"
        "name\t=\tTovlo \n"
        "\n"
        "[run]\n"
        ";debug=true\n"
        "  debug=false\n"
        "showModel=normal  ; not a comment: part of the value\n"
        "facePath= /data/\xB1\xED\xC7\xE9 \n"
        "historyNub";
    writeBytes(dir / "config.ini", text);
    IniCls ini(codec);
    ini.setINIFileName(dir / "config.ini");
    EXPECT_EQ(ini.GetIniKey("application", "name"), "Tovlo");
    EXPECT_EQ(ini.GetIniKey("run", "debug"), "false");
    EXPECT_EQ(ini.GetIniKey("run", "showModel"), "normal  ; not a comment: part of the value");
    EXPECT_EQ(ini.GetIniKey("run", "facePath"), "/data/表情");
    EXPECT_EQ(ini.GetIniKey("run", "historyNub"), "");

    ini.WriteIniKey("run", "historyNub", "20");
    ini.WriteIniKey("application", "ver", "2.3");
    EXPECT_EQ(readBytes(dir / "config.ini"),
              "; \xD7\xA2\xCA\xCD comment in GBK\n"
              "  [ application ]  \n"
              "name\t=\tTovlo \n"
              "ver=2.3\n"
              "\n"
              "[run]\n"
              ";debug=true\n"
              "  debug=false\n"
              "showModel=normal  ; not a comment: part of the value\n"
              "facePath= /data/\xB1\xED\xC7\xE9 \n"
              "historyNub=20\n"
              "historyNub\n");
}

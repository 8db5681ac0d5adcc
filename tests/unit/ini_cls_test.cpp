#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/ini_cls.h"
#include "platform/native_codec.h"
#include "support/temp_dir.h"

using namespace tovlo;
using test::readBytes;
using test::writeBytes;

namespace {

struct IniTest : ::testing::Test {
    test::TempDir dir;
    NativeCodec codec;
    IniCls ini{codec};
    std::string file = dir / "config.ini";
    void SetUp() override { ini.setINIFileName(file); }
};

}  // namespace

TEST_F(IniTest, MissingFileSectionOrKeyReadsEmpty) {
    EXPECT_EQ(ini.GetIniKey("run", "debug"), "");
    writeBytes(file, "[run]\r\ndebug=true\r\n[other]\r\nkey=1\r\n");
    EXPECT_EQ(ini.GetIniKey("nosuch", "debug"), "");
    EXPECT_EQ(ini.GetIniKey("run", "nosuch"), "");
    EXPECT_EQ(ini.GetIniKey("run", "key"), "") << "a key of another section is not found";
    EXPECT_EQ(ini.GetIniKey("other", "key"), "1");
}

TEST_F(IniTest, NamesMatchWithoutRegardToCase) {
    ini.WriteIniKey("run", "autoRun", "true");
    EXPECT_EQ(ini.GetIniKey("RUN", "AUTORUN"), "true");
    EXPECT_EQ(ini.GetIniKey("Run", "autorun"), "true");
    ini.WriteIniKey("RUN", "AUTORUN", "false");
    EXPECT_EQ(ini.GetIniKey("run", "autoRun"), "false");
    EXPECT_EQ(readBytes(file), "[run]\r\nAUTORUN=false\r\n") << "the key was replaced, not added";
}

TEST_F(IniTest, ValuesAreTrimmedAndBlankValuesReadEmpty) {
    ini.WriteIniKey("run", "a", "   ");
    EXPECT_EQ(ini.GetIniKey("run", "a"), "");
    writeBytes(file, "[run]\n  showModel =   fQQ  \t\n");
    EXPECT_EQ(ini.GetIniKey("run", "showModel"), "fQQ");
}

TEST_F(IniTest, LongValuesComeBackCutTo1023Bytes) {
    std::string value(2000, 'x');
    for (std::size_t i = 0; i < value.size(); ++i) value[i] = static_cast<char>('a' + i % 26);
    ini.WriteIniKey("run", "long", value);
    EXPECT_EQ(ini.GetIniKey("run", "long"), value.substr(0, 1023));
    EXPECT_EQ(ini.GetIniKey("run", "long").size(), 1023u);
}

TEST_F(IniTest, CutNeverSplitsADoubleByteCharacter) {
    // 1022 ASCII bytes then Chinese text: byte 1023 would be half a character.
    std::string value = std::string(1022, 'a') + "中文字";
    ini.WriteIniKey("run", "long", value);
    EXPECT_EQ(ini.GetIniKey("run", "long"), std::string(1022, 'a'));
    std::string even = std::string(1021, 'a') + "中文字";
    ini.WriteIniKey("run", "long", even);
    EXPECT_EQ(ini.GetIniKey("run", "long"), std::string(1021, 'a') + "中");
}

TEST_F(IniTest, WriteCreatesFileAndSectionAndPlacesNewKeysInTheirSection) {
    ini.WriteIniKey("run", "historyNub", "16");
    ini.WriteIniKey("application", "ver", "2.3");
    ini.WriteIniKey("run", "facePath", "");
    EXPECT_EQ(readBytes(file), "[run]\r\nhistoryNub=16\r\nfacePath=\r\n[application]\r\nver=2.3\r\n");
    EXPECT_EQ(ini.GetIniKey("run", "historyNub"), "16");
    EXPECT_EQ(ini.GetIniKey("application", "ver"), "2.3");
}

TEST_F(IniTest, LinesItDoesNotOwnSurviveRewrites) {
    const std::string original =
        "; Tovlo settings\n"
        "[application]\n"
        "name=Tovlo\n"
        "\n"
        "; the next section holds the run settings\n"
        "[run]\n"
        "debug = false\n"
        "# not a key line\n"
        "\n"
        "[extra]\n"
        "x=1\n";
    writeBytes(file, original);
    ini.WriteIniKey("application", "ver", "2.3");
    ini.WriteIniKey("run", "debug", "true");
    EXPECT_EQ(readBytes(file),
              "; Tovlo settings\n"
              "[application]\n"
              "name=Tovlo\n"
              "ver=2.3\n"
              "\n"
              "; the next section holds the run settings\n"
              "[run]\n"
              "debug=true\n"
              "# not a key line\n"
              "\n"
              "[extra]\n"
              "x=1\n");
}

TEST_F(IniTest, DelIniKeyAndDelIniSec) {
    writeBytes(file, "[run]\r\na=1\r\nb=2\r\n; note\r\n[keep]\r\nc=3\r\n");
    ini.DelIniKey("RUN", "A");
    EXPECT_EQ(ini.GetIniKey("run", "a"), "");
    EXPECT_EQ(ini.GetIniKey("run", "b"), "2");
    ini.DelIniSec("run");
    EXPECT_EQ(ini.GetIniKey("run", "b"), "");
    EXPECT_EQ(ini.GetIniKey("keep", "c"), "3");
    EXPECT_EQ(readBytes(file), "[keep]\r\nc=3\r\n");
    // Deleting what is not there changes nothing and creates no file.
    ini.DelIniSec("gone");
    ini.DelIniKey("keep", "gone");
    EXPECT_EQ(readBytes(file), "[keep]\r\nc=3\r\n");
    IniCls missing(codec);
    missing.setINIFileName(dir / "none.ini");
    missing.DelIniKey("a", "b");
    EXPECT_FALSE(std::filesystem::exists(dir / "none.ini"));
}

TEST_F(IniTest, LineBreaksCannotInjectKeysOrSections) {
    ini.WriteIniKey("run", "autoLoginName", "tom");
    ini.WriteIniKey("run", "autoLoginName", "eve\r\n[run]\r\ndebug=true");
    ini.WriteIniKey("run", "autoLoginName", "eve\ndebug=true");
    ini.WriteIniKey("run", "x\ny", "1");
    ini.WriteIniKey("run\n[evil", "x", "1");
    ini.WriteIniKey("run", "a=b", "1");
    ini.WriteIniKey("r]un", "a", "1");
    EXPECT_EQ(ini.GetIniKey("run", "autoLoginName"), "tom") << "a refused write keeps the old value";
    EXPECT_EQ(ini.GetIniKey("run", "debug"), "");
    EXPECT_EQ(readBytes(file), "[run]\r\nautoLoginName=tom\r\n");
}

TEST_F(IniTest, RewriteLeavesNoTemporaryFileBehind) {
    for (int i = 0; i < 5; ++i) ini.WriteIniKey("run", "n" + std::to_string(i), "v");
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(IniTest, WriteIntoMissingFolderIsSilentlyLost) {
    ini.setINIFileName(dir / "no/such/folder/config.ini");
    ini.WriteIniKey("run", "a", "1");
    EXPECT_EQ(ini.GetIniKey("run", "a"), "");
}

TEST_F(IniTest, FirstOfDuplicateSectionsAndKeysWins) {
    writeBytes(file, "[run]\na=1\na=2\n[run]\na=3\nb=4\n");
    EXPECT_EQ(ini.GetIniKey("run", "a"), "1");
    EXPECT_EQ(ini.GetIniKey("run", "b"), "") << "keys of a repeated section header are not merged";
}

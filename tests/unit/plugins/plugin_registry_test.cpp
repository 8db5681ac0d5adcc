#include <gtest/gtest.h>

#include "core/errors.h"
#include "platform/native_codec.h"
#include "plugins/plugin_registry.h"
#include "support/temp_dir.h"

using namespace tovlo;

TEST(PluginRegistry, ListsPluginFoldersWithoutDotsInNameOrder) {
    test::TempDir dir;
    NativeCodec codec;
    PluginRegistry plugins(codec, dir.path());
    plugins.loadPlugins();
    EXPECT_EQ(plugins.pluginListText(), "[{}]") << "no plus folder at all";
    test::writeBytes(dir / "plus/zeta/main.ini", "[main]\r\nid=9\r\nname=zeta\r\n");
    test::writeBytes(dir / "plus/demo/main.ini",
                     "[main]\r\nid=7\r\nname=demo\r\ninfor=\xC4\xE3\xBA\xC3\r\nauthor=me\r\nversion=1\r\n");
    test::writeBytes(dir / "plus/x.old/main.ini", "[main]\r\nid=8\r\nname=x\r\n");
    test::writeBytes(dir / "plus/readme.txt", "");
    std::filesystem::create_directories(dir / "plus/empty");
    plugins.loadPlugins();
    EXPECT_EQ(plugins.pluginListText(), "[{},{id:'7',name:'demo'},{id:'',name:''},{id:'9',name:'zeta'}]");
    EXPECT_EQ(plugins.pluginInfo("7")->valueStr("infor"), "你好");
    EXPECT_EQ(plugins.currentPluginInfo(), nullptr);
    plugins.openPlugin("7");
    EXPECT_EQ(plugins.pluginFolder(), dir / "plus/demo");
    plugins.loadPlugins();
    EXPECT_EQ(plugins.currentPlugin(), "") << "a rebuild closes the current plug-in";
}

// A plug-in whose id is taken, or a second one without an id, is left out
// and named; the others are all there.
TEST(PluginRegistry, APluginWhoseIdIsTakenIsLeftOut) {
    test::TempDir dir;
    NativeCodec codec;
    test::writeBytes(dir / "plus/a/main.ini", "[main]\r\nid=1\r\nname=a\r\n");
    test::writeBytes(dir / "plus/b/main.ini", "[main]\r\nid=1\r\nname=b\r\n");
    test::writeBytes(dir / "plus/c/main.ini", "[main]\r\nid=3\r\nname=c\r\n");
    std::filesystem::create_directories(dir / "plus/d");
    std::filesystem::create_directories(dir / "plus/e");
    PluginRegistry plugins(codec, dir.path());
    EXPECT_EQ(plugins.loadPlugins(), (std::vector<std::string>{"plus/b: the id \"1\" is taken by plus/a",
                                                               "plus/e: the id \"\" is taken by plus/d"}));
    EXPECT_EQ(plugins.pluginListText(), "[{},{id:'1',name:'a'},{id:'3',name:'c'},{id:'',name:''}]");
}

// The name is the plug-in's folder; a name that is no single folder name
// cannot lead outside plus/: such a plug-in works from its own folder.
TEST(PluginRegistry, ANameThatIsNoFolderNameKeepsThePluginInItsOwnFolder) {
    struct Row {
        std::string name, foundIn, folder;
    };
    const Row rows[] = {{"..", "p1", "p1"},
                        {"../../etc", "p2", "p2"},
                        {"", "p3", "p3"},
                        {"a\\b", "p4", "p4"},
                        {"demo", "p5", "demo"}};  // a sound name is the folder, as always
    test::TempDir dir;
    NativeCodec codec;
    for (std::size_t i = 0; i < std::size(rows); ++i)
        test::writeBytes(dir / ("plus/" + rows[i].foundIn + "/main.ini"),
                         "[main]\r\nid=" + std::to_string(i) + "\r\nname=" + rows[i].name + "\r\n");
    PluginRegistry plugins(codec, dir.path());
    plugins.loadPlugins();
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        plugins.openPlugin(std::to_string(i));
        EXPECT_EQ(plugins.pluginFolder(), dir / ("plus/" + rows[i].folder)) << rows[i].name;
    }
}

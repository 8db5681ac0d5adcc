// The class manager panel: its page, its commands and closing.
#include <filesystem>

#include "library/class_manager.h"
#include "library_fixture.h"

namespace tovlo::test {

namespace fs = std::filesystem;

class ClassManagerTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        startLibrary();
        parm->userName = "tom";
        main->callVb("manage||-");
    }
    FakeBrowserView& page() { return panelForm("ClassManager")->views["WebBrowser1"]; }
    std::string own(const std::string& rel) const { return dir / ("w/CustomFace/tom/" + rel); }
};

TEST_F(ClassManagerTest, ShowsTheManagerPageAfter50ms) {
    EXPECT_EQ(page().navigations, std::vector<std::string>{"about:blank"});
    fake.loop.advance(50);
    EXPECT_EQ(page().location(), "http://svc/soft/manageClass.asp");
    fake.loop.advance(500);
    EXPECT_EQ(page().navigations.size(), 2u);
}

TEST_F(ClassManagerTest, PageCommandsDropTheLocalCopies) {
    page().pageCalls("manageWeb", "getName||-");
    EXPECT_EQ(lastScript(page()), "setName('tom')");

    page().pageCalls("manageWeb", "addClass||-");  // nothing there yet: no error
    writeBytes(own("myClass.html"), "h");
    writeBytes(own("myClass.js"), "j");
    page().pageCalls("manageWeb", "changeClass||x");
    EXPECT_FALSE(fs::exists(own("myClass.html")));
    EXPECT_FALSE(fs::exists(own("myClass.js")));

    writeBytes(own("12/a.gif"), "a");
    writeBytes(own("12/1.html"), "p");
    fs::permissions(own("12/a.gif"), fs::perms::owner_read);
    page().pageCalls("manageWeb", "addFace||12--http://svc/soft/uploadFace.asp?classId=12");
    EXPECT_FALSE(fs::exists(own("12")));
    EXPECT_EQ(lastScript(page()), "document.location.href='http://svc/soft/uploadFace.asp?classId=12';");
    writeBytes(own("13/1.html"), "p");
    page().pageCalls("manageWeb", "deleteFace||13--");
    EXPECT_FALSE(fs::exists(own("13")));
    EXPECT_EQ(lastScript(page()), "document.location.reload();");
}

TEST_F(ClassManagerTest, MalformedCommandsAreRefusedWithoutEffect) {
    writeBytes(own("12/1.html"), "p");
    writeBytes(own("myClass.html"), "h");
    const auto scripts = page().scripts;
    EXPECT_THROW(page().pageCalls("manageWeb", "deleteClass"), TovloError);
    EXPECT_THROW(page().pageCalls("manageWeb", "addFace||12"), TovloError);
    EXPECT_THROW(page().pageCalls("manageWeb", "deleteFace||12"), TovloError);
    EXPECT_THROW(page().pageCalls("manageWeb", "deleteFace||..--x"), TovloError);
    EXPECT_THROW(page().pageCalls("manageWeb", "addFace||--x"), TovloError);
    EXPECT_NO_THROW(page().pageCalls("manageWeb", "nothing||x")) << "an unknown command does nothing";
    EXPECT_TRUE(fs::exists(own("12/1.html")));
    EXPECT_TRUE(fs::exists(own("myClass.html")));
    EXPECT_TRUE(fs::exists(dir / "w/CustomFace"));
    EXPECT_EQ(page().scripts, scripts);
}

TEST_F(ClassManagerTest, ClosingWhileTheAccountPagesAreHiddenOnlyLeaves) {
    web3().visible = false;
    page().pageCalls("manageWeb", "closeManage||-");
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    EXPECT_TRUE(fake.fetch.requests.empty());
    EXPECT_FALSE(fs::exists(own("")));
}

TEST_F(ClassManagerTest, ClosingFetchesTheClassListOnlyWhenItIsMissing) {
    web3().visible = true;
    fake.fetch.handler = [](const std::string& url) -> std::optional<std::string> {
        if (url.starts_with("http://svc/soft/myClass.asp?uName=tom&t=")) return std::string("<p>classes</p>");
        return std::nullopt;
    };
    page().pageCalls("manageWeb", "closeManage||-");
    ASSERT_EQ(fake.fetch.requests.size(), 1u);
    EXPECT_EQ(readBytes(own("myClass.html")), "<p>classes</p>");
    EXPECT_EQ(web3().location(), fileUrlOf(own("myClass.html")));
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    fake.loop.advance(300);
    EXPECT_FALSE(parm->keepMainVisible);

    main->callVb("manage||-");
    page().pageCalls("manageWeb", "closeManage||-");
    EXPECT_EQ(fake.fetch.requests.size(), 1u) << "an existing list is shown without fetching";

    // Offline, nothing is kept in the list's place: the next showing asks again.
    fs::remove(own("myClass.html"));
    fake.fetch.handler = nullptr;
    main->callVb("manage||-");
    page().pageCalls("manageWeb", "closeManage||-");
    EXPECT_FALSE(fs::exists(own("myClass.html")));
    EXPECT_EQ(fake.messages.shown.size(), 1u);
}

// With nobody logged in the manager has no account folder: its commands
// delete nothing anywhere, another local account's classes included.
TEST_F(ClassManagerTest, WithoutAnAccountNothingIsDeleted) {
    writeBytes(dir / "w/CustomFace/12/1.html", "another account named 12");
    writeBytes(dir / "w/CustomFace/myClass.html", "not an account's");
    writeBytes(own("12/1.html"), "tom's class 12");
    for (const std::string user : {"", "..", "a/b"}) {
        SCOPED_TRACE("user '" + user + "'");
        parm->userName = user;
        for (const char* command :
             {"deleteFace||12--x", "addFace||12--http://svc/x", "deleteClass||-", "closeManage||-"})
            page().pageCalls("manageWeb", command);
        EXPECT_EQ(readBytes(dir / "w/CustomFace/12/1.html"), "another account named 12");
        EXPECT_EQ(readBytes(dir / "w/CustomFace/myClass.html"), "not an account's");
        EXPECT_EQ(readBytes(own("12/1.html")), "tom's class 12");
        fake.loop.advance(300);
        main->callVb("manage||-");
    }
}

}  // namespace tovlo::test

// The own-faces panel: listing, skipping what is on disk, the class page.
#include <filesystem>

#include "core/urls.h"
#include "library/my_face_down_loader.h"
#include "library_fixture.h"

namespace tovlo::test {

namespace fs = std::filesystem;

class MyFaceTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        writeBytes(dir / "templates/myFaceOneClass.html", "S={{str}} P={{path}} U={{userName}} L={{plus}} {{other}}");
    }
    void begin(const std::string& user) {
        startLibrary();
        parm->userName = user;
    }
    std::string listingUrl(const std::string& cls, const std::string& page) const {
        return faceUrl("showFace.asp?classId=" + cls + "&PageNo=" + page);
    }
    std::string own(const std::string& rel) const { return dir / ("w/CustomFace/" + parm->userName + "/" + rel); }
    std::vector<std::string> startedUrls() const {
        std::vector<std::string> out;
        for (const auto& s : net.starts) out.push_back(s.url);
        return out;
    }
};

TEST_F(MyFaceTest, DownloadsWhatIsMissingEntryByEntryAndWritesThePage) {
    begin("tom");
    const std::string listing = "head||10/a.gif$$10/s_a.gif||10/b.gif$$10/s_b.gif||10/c.gif$$10/sub/s_c.gif--3,1";
    answer(listingUrl("10", "1"), listing);
    for (const char* p : {"10/a.gif", "10/s_a.gif", "10/s_c.gif", "10/sub/s_c.gif", "10/c.gif"}) answer(faceUrl(p), p);
    writeBytes(own("10/b.gif"), "old b");
    writeBytes(own("10/s_b.gif"), "old s_b");
    writeBytes(own("10/c.gif"), "old c");

    main->callVb("showMyOneClassFaces||10--1");
    auto* panel = this->panel<MyFaceDownLoader>();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->PClassId(), "10");
    EXPECT_EQ(panelForm("MyFaceDownLoader")->labelNamed("Label2").value, "当前缩略表情下载进度：");
    fake.loop.advance(99);
    EXPECT_TRUE(net.starts.empty());
    fake.loop.advance(1);
    ASSERT_EQ(net.starts.size(), 1u);
    EXPECT_EQ(net.starts[0].tag, file("temp/tempMyFaceClass.txt"));
    fake.loop.advance(10);
    EXPECT_EQ(panel->faceList().size(), 4u);
    EXPECT_EQ(panelForm("MyFaceDownLoader")->barNamed("ProgressBar1").percent, 33);
    EXPECT_EQ(panelForm("MyFaceDownLoader")->barNamed("ProgressBar2").percent, 0);
    settle();

    EXPECT_EQ(startedUrls(), (std::vector<std::string>{listingUrl("10", "1"), faceUrl("10/a.gif"),
                                                       faceUrl("10/s_a.gif"), faceUrl("10/sub/s_c.gif")}))
        << "entries on disk are skipped, and only missing files of an entry are fetched";
    EXPECT_EQ(readBytes(own("10/sub/s_c.gif")), "10/sub/s_c.gif");
    EXPECT_EQ(readBytes(own("10/b.gif")), "old b");
    EXPECT_EQ(readBytes(own("10/1.html")),
              "S=" + listing + " P=" + fileUrlOf(file("w/CustomFace/tom")) + " U=tom L=[{}] {{other}}");
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr) << "handed back";
    EXPECT_EQ(web3().location(), fileUrlOf(own("10/1.html")));
    EXPECT_EQ(main->web3Tag(), "10");
}

TEST_F(MyFaceTest, PlaceholderOrderDependsOnWhetherTheListingHasEntries) {
    // A user name holding "{{plus}}" shows the order: it is replaced only
    // when "{{plus}}" comes after "{{userName}}".
    begin("x{{plus}}");
    fs::create_directories(own("5"));
    answer(listingUrl("5", "1"), "only--0");
    main->callVb("showMyOneClassFaces||5--1");
    settle();
    EXPECT_EQ(net.starts.size(), 1u);
    EXPECT_EQ(readBytes(own("5/1.html")),
              "S=only--0 P=" + fileUrl(file("w/CustomFace/x{{plus}}")) + " U=x{{plus}} L=[{}] {{other}}");

    answer(listingUrl("5", "2"), "h||5/a.gif$$5/s_a.gif--1");
    writeBytes(own("5/a.gif"), "a");
    writeBytes(own("5/s_a.gif"), "s");
    main->callVb("showMyOneClassFaces||5--2");
    settle();
    EXPECT_EQ(readBytes(own("5/2.html")),
              "S=h||5/a.gif$$5/s_a.gif--1 P=" + fileUrl(file("w/CustomFace/x{{plus}}")) + " U=x[{}] L=[{}] {{other}}")
        << "the encoded folder holds no placeholder, whatever the order";
}

TEST_F(MyFaceTest, BrokenListingsStillEndWithAPage) {
    begin("tom");
    fs::create_directories(own("7"));
    // No answer at all: the listing fails.
    main->callVb("showMyOneClassFaces||7--1");
    settle();
    EXPECT_EQ(readBytes(own("7/1.html")), "S= P=" + fileUrlOf(file("w/CustomFace/tom")) + " U=tom L=[{}] {{other}}");
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);

    // No "--", entries without "$$" or with paths that leave the folder.
    answer(listingUrl("7", "2"), "h||7/a.gif||../../evil.gif$$/etc/x||7/b.gif$$7/../../../c.gif||7/d.gif$$7/s_d.gif");
    answer(faceUrl("7/a.gif"), "a");
    answer(faceUrl("7/d.gif"), "d");
    answer(faceUrl("7/s_d.gif"), "sd");
    answer(faceUrl("7/b.gif"), "b");
    main->callVb("showMyOneClassFaces||7--2");
    settle();
    EXPECT_EQ(readBytes(own("7/a.gif")), "a");
    EXPECT_EQ(readBytes(own("7/b.gif")), "b");
    EXPECT_EQ(readBytes(own("7/s_d.gif")), "sd");
    for (const auto& s : net.starts) {
        EXPECT_EQ(s.url.find(".."), std::string::npos) << s.url;
        EXPECT_EQ(s.url.find("/etc/"), std::string::npos) << s.url;
    }
    EXPECT_FALSE(fs::exists(dir / "evil.gif"));
    EXPECT_TRUE(fs::exists(own("7/2.html")));
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
}

TEST_F(MyFaceTest, ThumbnailProgressGoesToItsOwnBar) {
    begin("tom");
    net.manual = true;
    fs::create_directories(own("3"));
    writeBytes(own("3/a.gif"), "a");
    main->callVb("showMyOneClassFaces||3--1");
    fake.loop.advance(100);
    writeBytes(file("temp/tempMyFaceClass.txt"), "");
    net.finish(file("temp/tempMyFaceClass.txt"), kReadEndOfData, "h||3/a.gif$$3/s_a.gif--1");
    ASSERT_EQ(net.running(), std::vector<std::string>{own("3/s_a.gif")});
    net.progress(own("3/s_a.gif"), 50, 200, kReadReceiving);
    EXPECT_EQ(panelForm("MyFaceDownLoader")->barNamed("ProgressBar2").percent, 25);
    EXPECT_EQ(panelForm("MyFaceDownLoader")->barNamed("ProgressBar3").percent, 0);
    EXPECT_EQ(panelForm("MyFaceDownLoader")->barNamed("ProgressBar1").percent, 100);
    net.finish(own("3/s_a.gif"), kReadEndOfData, "s");
    EXPECT_TRUE(fs::exists(own("3/1.html")));
}

// A service that trickles every face: the panel ends at its time limit with
// the page made from what arrived, the rest listed, and the slot free.
TEST_F(MyFaceTest, ATricklingServiceEndsThePageAtItsTimeLimit) {
    begin("tom");
    fs::create_directories(own("5"));
    answer(listingUrl("5", "1"), "h||5/a.gif$$5/s_a.gif||5/b.gif$$5/s_b.gif--2,1");
    answer(faceUrl("5/a.gif"), "a");
    answer(faceUrl("5/s_a.gif"), "sa");
    for (const char* f : {"5/b.gif", "5/s_b.gif"}) net.answers[faceUrl(f)] = FakeAnswer{"", kReadEndOfData, 10, true};
    debug->show();
    main->callVb("showMyOneClassFaces||5--1");
    fake.loop.advance(limits::kBatchTotalMs - 100);
    EXPECT_NE(main->control(MainForm::kSlot), nullptr) << "still waiting for b";
    EXPECT_FALSE(fs::exists(own("5/1.html")));
    fake.loop.advance(100);
    settle();
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    EXPECT_TRUE(net.running().empty());
    EXPECT_TRUE(fs::exists(own("5/1.html")));
    EXPECT_EQ(readBytes(own("5/a.gif")), "a");
    EXPECT_FALSE(fs::exists(own("5/b.gif")));
    EXPECT_EQ(web3().location(), fileUrl(own("5/1.html")));
    bool listed = false;
    for (int i = 0; i < debug->List1().count(); ++i)
        listed = listed || debug->List1().item(i) == "-没有下载成功：" + own("5/b.gif") + "/" + own("5/s_b.gif");
    EXPECT_TRUE(listed);
}

// A panel made while nobody is logged in fetches nothing and leaves.
TEST_F(MyFaceTest, WithoutAnAccountNothingIsFetched) {
    begin("tom");
    main->loadUserControl("MyFaceDownLoader");
    parm->userName = "";
    main->control(MainForm::kSlot)->setProperty("PClassId", "5");
    main->control(MainForm::kSlot)->setProperty("PPage", "1");
    settle();
    EXPECT_TRUE(net.starts.empty());
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    EXPECT_FALSE(fs::exists(dir / "w/CustomFace/5"));
}

// The account is fixed when the download starts: a logout, or another
// account logging in, ends it; nothing is written for anyone else, nor at
// the root of the file system.
TEST_F(MyFaceTest, LeavingTheAccountEndsItsDownload) {
    for (const char* next : {"", "ann"}) {
        SCOPED_TRACE(next);
        begin("tom");
        answer(listingUrl("10", "1"), "head||10/a.gif$$10/s_a.gif||10/b.gif$$10/s_b.gif--2,1");
        for (const char* p : {"10/a.gif", "10/s_a.gif", "10/b.gif", "10/s_b.gif"})
            net.answers[faceUrl(p)] = FakeAnswer{p, kReadEndOfData, 300};
        main->callVb("showMyOneClassFaces||10--1");
        fake.loop.advance(200);  // the listing is in, the first entry on its way
        parm->userName = next;
        settle();
        EXPECT_EQ(main->control(MainForm::kSlot), nullptr) << "handed back";
        EXPECT_EQ(readBytes(dir / "w/CustomFace/tom/10/a.gif"), "10/a.gif") << "what was on its way lands with tom";
        EXPECT_FALSE(fs::exists(dir / "w/CustomFace/tom/10/b.gif")) << "nothing more is fetched";
        EXPECT_FALSE(fs::exists(dir / "w/CustomFace/tom/10/1.html"));
        EXPECT_FALSE(fs::exists(dir / "w/CustomFace/ann"));
        EXPECT_FALSE(fs::exists(dir / "w/CustomFace/10"));
        fs::remove_all(dir / "w/CustomFace");
    }
}

}  // namespace tovlo::test

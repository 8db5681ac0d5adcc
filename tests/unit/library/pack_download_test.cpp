// The public pack panel: list, three channels, completion, failures, cancel.
#include <filesystem>

#include "library/pack_list.h"
#include "library/public_face_down_loader.h"
#include "library/public_face_process.h"
#include "library_fixture.h"
#include "platform/part_file.h"

namespace tovlo::test {

namespace fs = std::filesystem;

class PackDownloadTest : public LibraryTest {
protected:
    // Serves the pack: its list and each named file (the name as content).
    void servePack(const std::string& pack, const std::string& list, const std::vector<std::string>& files) {
        const std::string base = faceUrl(pack + "/");
        net.handler = [base, list](const std::string& url) -> std::optional<FakeAnswer> {
            if (url.starts_with(base + "imgs.txt?t=")) return FakeAnswer{list};
            return std::nullopt;
        };
        for (const std::string& f : files) answer(base + f, "file " + f);
    }
    void open(const std::string& pack, const std::string& version) {
        main->callVb("showFace||" + pack + "," + version);
    }
    std::string packFile(const std::string& pack, const std::string& name) const {
        return dir / ("w/" + pack + "/" + name);
    }
    std::string changeClass(const std::string& pack) const {
        return "changeClass('" + pack + "','" + slashed(dir / "w") + "')";
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& m : fake.messages.shown) out.push_back(m.text);
        return out;
    }
    std::vector<std::string> startedFiles() const {
        std::vector<std::string> out;
        for (const auto& s : net.starts) out.push_back(fs::path(s.tag).filename().string());
        return out;
    }
};

TEST_F(PackDownloadTest, ThreeChannelsFetchTheWholeListThenProcessingTakesOver) {
    startLibrary();
    servePack("hot", "1-1.gif/1-2.gif/1-3.gif/1-4.gif/ver-3.txt",
              {"1-1.gif", "1-2.gif", "1-3.gif", "1-4.gif", "ver-3.txt"});
    net.manual = true;
    open("hot", "3");
    auto* panel = this->panel<PublicFaceDownLoader>();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(fs::is_directory(dir / "w/hot"));
    EXPECT_EQ(panelForm("PublicFaceDownLoader")->buttonNamed("Command1").caption, "取消");
    fake.loop.advance(200);
    ASSERT_EQ(net.starts.size(), 1u);
    EXPECT_TRUE(net.starts[0].url.starts_with(faceUrl("hot/imgs.txt?t=")));
    EXPECT_EQ(net.starts[0].tag, file("temp/imgs.txt"));
    net.progress(file("temp/imgs.txt"), 5, 10, kReadReceiving);
    EXPECT_EQ(panelForm("PublicFaceDownLoader")->barNamed("ProgressBar4").percent, 50) << "the list shows on channel 3";

    net.finish(file("temp/imgs.txt"), kReadEndOfData, "1-1.gif/1-2.gif/1-3.gif/1-4.gif/ver-3.txt");
    EXPECT_EQ(panel->channels(), (std::array<std::string, 3>{"1-1.gif", "1-2.gif", "1-3.gif"}));
    net.progress(packFile("hot", "1-2.gif"), 1, 4, kReadReceiving);
    EXPECT_EQ(panelForm("PublicFaceDownLoader")->barNamed("ProgressBar3").percent, 25);
    net.finish(packFile("hot", "1-2.gif"), kReadEndOfData, "b");
    EXPECT_EQ(panel->channels()[1], "1-4.gif") << "the channel that finished takes the next name";
    EXPECT_EQ(panelForm("PublicFaceDownLoader")->barNamed("ProgressBar1").percent, 60);
    net.finish(packFile("hot", "1-1.gif"), kReadEndOfData, "a");
    EXPECT_EQ(panel->channels()[0], "ver-3.txt");
    for (const char* f : {"1-3.gif", "1-4.gif"}) net.finish(packFile("hot", f), kReadEndOfData, f);
    EXPECT_EQ(panel->channels(), (std::array<std::string, 3>{"ver-3.txt", "-1", "-1"}));
    EXPECT_EQ(this->panel<PublicFaceProcess>(), nullptr);
    net.finish(packFile("hot", "ver-3.txt"), kReadEndOfData, "3");
    ASSERT_NE(this->panel<PublicFaceProcess>(), nullptr) << "the pack is complete: processing is loaded";
    EXPECT_TRUE(fs::exists(packFile("hot", "ver-3.txt")));
    EXPECT_EQ(startedFiles(),
              (std::vector<std::string>{"imgs.txt", "1-1.gif", "1-2.gif", "1-3.gif", "1-4.gif", "ver-3.txt"}));
}

// A pack named with characters that mean something in an address asks for
// its own list and files, not for another address.
TEST_F(PackDownloadTest, ThePackNameIsEncodedInEveryAddress) {
    startLibrary();
    net.manual = true;
    open("a#b%c?d", "1");
    fake.loop.advance(200);
    ASSERT_EQ(net.starts.size(), 1u);
    EXPECT_TRUE(net.starts[0].url.starts_with(faceUrl("a%23b%25c%3Fd/imgs.txt?t="))) << net.starts[0].url;
    net.finish(file("temp/imgs.txt"), kReadEndOfData, "1-1.gif");
    ASSERT_EQ(net.starts.size(), 2u);
    EXPECT_EQ(net.starts[1].url, faceUrl("a%23b%25c%3Fd/1-1.gif"));
}

TEST_F(PackDownloadTest, ShortListsAndEmptyNamesComplete) {
    startLibrary();
    for (const std::string list : {"ver-1.txt", "1-1.gif/ver-1.txt", "1-1.gif/ver-1.txt/", "", "1-1.gif//ver-1.txt"}) {
        SCOPED_TRACE("list: " + list);
        servePack("p", list, {"1-1.gif", "ver-1.txt"});
        fs::remove_all(dir / "w/p");
        open("p", "9");
        settle();
        EXPECT_EQ(lastScript(web()), changeClass("p")) << "the pack completed and was processed";
        EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
        web().scripts.clear();
    }
    EXPECT_TRUE(fs::exists(packFile("p", "ver-1.txt"))) << "the last list names the marker after an empty element";
}

TEST_F(PackDownloadTest, AFailedFileEndsItsChannelAndTheMarkerGoes) {
    startLibrary();
    servePack("hot", "1-1.gif/1-2.gif/1-3.gif/1-4.gif/1-5.gif/ver-3.txt",
              {"1-1.gif", "1-3.gif", "1-4.gif", "1-5.gif", "ver-3.txt"});
    open("hot", "3");
    settle();
    EXPECT_EQ(lastScript(web()), changeClass("hot")) << "the pack completes without the failed file";
    EXPECT_FALSE(fs::exists(packFile("hot", "1-2.gif")));
    EXPECT_TRUE(fs::exists(packFile("hot", "1-5.gif")));
    EXPECT_FALSE(fs::exists(packFile("hot", "ver-3.txt"))) << "an incomplete pack is fetched again next time";
    EXPECT_EQ(messages(), std::vector<std::string>{"有1个表情没有下载成功。再次打开这个表情包会下载其余的表情。"});
}

TEST_F(PackDownloadTest, NamesThatLeaveThePackFolderAreNeverFetched) {
    startLibrary();
    servePack("hot", "..\\evil.gif/1-1.gif/../1-1.gif/ver-3.txt", {"1-1.gif", "ver-3.txt"});
    answer(faceUrl("hot/..\\evil.gif"), "evil");
    open("hot", "3");
    settle();
    EXPECT_EQ(startedFiles(), (std::vector<std::string>{"imgs.txt", "1-1.gif", "ver-3.txt"}))
        << "unsafe names are skipped, and a name a channel is fetching is not fetched twice at once";
    EXPECT_FALSE(fs::exists(dir / "w/hot/..\\evil.gif"));
    EXPECT_EQ(lastScript(web()), changeClass("hot"));
}

TEST_F(PackDownloadTest, CancelRemovesEveryVersionMarkerAndKeepsTheImages) {
    startLibrary();
    writeBytes(packFile("hot", "ver-1.txt"), "1");
    writeBytes(packFile("hot", "1-1.gif"), "old");
    servePack("hot", "1-1.gif/1-2.gif/ver-3.txt/1-3.gif", {"1-1.gif", "1-2.gif", "ver-3.txt", "1-3.gif"});
    net.answers[faceUrl("hot/1-3.gif")].stall = true;
    open("hot", "3");
    settle();
    EXPECT_TRUE(fs::exists(packFile("hot", "ver-3.txt")));
    ASSERT_NE(this->panel<PublicFaceDownLoader>(), nullptr) << "a stalled file keeps the pack open";
    panelForm("PublicFaceDownLoader")->buttonNamed("Command1").click();
    EXPECT_FALSE(fs::exists(packFile("hot", "ver-1.txt")));
    EXPECT_FALSE(fs::exists(packFile("hot", "ver-3.txt")));
    EXPECT_EQ(readBytes(packFile("hot", "1-1.gif")), "file 1-1.gif") << "a second download replaces listed files";
    EXPECT_TRUE(net.running().empty());
    settle();
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr) << "nothing to process after a cancel";
    EXPECT_TRUE(web().scripts.empty());
}

// A download panel taken out of its slot stops at once: its reads are
// cancelled before it is freed, and nothing of it runs afterwards.
TEST_F(PackDownloadTest, ADownloadPanelLeavingItsSlotStopsAtOnce) {
    startLibrary();
    servePack("hot", "1.gif/2.gif/3.gif/4.gif/ver-1.txt", {"1.gif", "2.gif", "3.gif", "4.gif", "ver-1.txt"});
    for (const char* f : {"1.gif", "2.gif", "3.gif"}) net.answers[faceUrl("hot/") + f].stall = true;
    answer(faceUrl("showFace.asp?classId=10&PageNo=1"), "head||10/a.gif$$10/s_a.gif--1,1");
    net.answers[faceUrl("10/a.gif")] = FakeAnswer{"a", kReadEndOfData, 10, true};
    const std::pair<const char*, std::function<void()>> rows[] = {
        {"a pack", [this] { open("hot", "1"); }},
        {"own faces",
         [this] {
             main->callVb("loginSucc||tom");
             main->callVb("showMyOneClassFaces||10--1");
         }},
    };
    for (const auto& [what, begin] : rows) {
        SCOPED_TRACE(what);
        begin();
        fake.loop.advance(500);
        fake.messages.shown.clear();  // the login's, offline
        ASSERT_FALSE(net.running().empty()) << "files on their way";
        main->exitControl();
        EXPECT_TRUE(net.running().empty());
        const std::size_t started = net.starts.size();
        settle();
        EXPECT_EQ(net.starts.size(), started);
        EXPECT_TRUE(fake.messages.shown.empty());
        EXPECT_FALSE(fs::exists(packFile("hot", "ver-1.txt")));
        EXPECT_FALSE(fs::exists(dir / "w/CustomFace/tom/10/1.html"));
    }
}

TEST_F(PackDownloadTest, AListThatCannotBeFetchedEndsThePanel) {
    startLibrary();
    open("gone", "1");
    settle();
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    EXPECT_FALSE(window().frames["Frame1"].visible);
    EXPECT_EQ(messages(), std::vector<std::string>{"没有取到这个表情包的文件列表，请稍后再打开它。"});
}

TEST_F(PackDownloadTest, LongListsKeepAWholePercentage) {
    startLibrary();
    std::string list;
    std::vector<std::string> files;
    for (int i = 0; i < 400; ++i) {
        files.push_back("f" + std::to_string(i) + ".gif");
        list += (i ? "/" : "") + files.back();
    }
    servePack("big", list, files);
    open("big", "1");
    std::vector<int> seen;
    fake.loop.advance(200 + 10);
    for (int step = 0; step < 200 && panelForm("PublicFaceDownLoader"); ++step) {
        seen.push_back(panelForm("PublicFaceDownLoader")->barNamed("ProgressBar1").percent);
        fake.loop.advance(10);
    }
    ASSERT_GT(seen.size(), 100u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), 100);
    EXPECT_GT(seen[50], 0);
    EXPECT_EQ(fs::directory_iterator(dir / "w/big") == fs::directory_iterator(), false);
    int count = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir / "w/big")) ++count;
    EXPECT_GE(count, 400);
}

// A list that names files twice and holds names that are no file names: each
// file is fetched once, in list order, and nothing asks the user anything.
TEST_F(PackDownloadTest, EveryUsableNameIsFetchedOnceWithoutABoxForTheRest) {
    startLibrary();
    std::string list = "a.gif/a.gif/../b.gif//c.gif/a.gif/ver-2.txt/b.gif/.\\x/..";
    for (int i = 0; i < 50; ++i) list += "/..";  // a hostile list: many unusable names
    servePack("dup", list, {"a.gif", "b.gif", "c.gif", "ver-2.txt"});
    open("dup", "2");
    settle();
    EXPECT_EQ(startedFiles(), (std::vector<std::string>{"imgs.txt", "a.gif", "b.gif", "c.gif", "ver-2.txt"}));
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(lastScript(web()), changeClass("dup"));
    EXPECT_TRUE(fs::exists(packFile("dup", "ver-2.txt"))) << "the pack is complete";
    EXPECT_FALSE(fs::exists(packFile("dup", kPartialFile)));
}

// A file that keeps failing: the pack completes without it and without its
// marker; each later opening fetches what is missing, and only that, until
// the file arrives and the pack is marked complete.
TEST_F(PackDownloadTest, AFailedFileIsFetchedAgainAloneAtTheNextOpening) {
    startLibrary();
    servePack("hot", "1-1.gif/1-2.gif/1-3.gif/ver-3.txt", {"1-1.gif", "1-3.gif", "ver-3.txt"});
    struct Opening {
        bool fileThere;
        std::vector<std::string> fetched;
        bool complete;
    };
    const Opening openings[] = {
        {false, {"imgs.txt", "1-1.gif", "1-2.gif", "1-3.gif", "ver-3.txt"}, false},
        {false, {"imgs.txt", "1-2.gif", "ver-3.txt"}, false},
        {true, {"imgs.txt", "1-2.gif", "ver-3.txt"}, true},
        {true, {}, true},  // complete: the marker is there, nothing is fetched
    };
    for (std::size_t i = 0; i < std::size(openings); ++i) {
        SCOPED_TRACE("opening " + std::to_string(i + 1));
        const Opening& o = openings[i];
        if (o.fileThere) answer(faceUrl("hot/1-2.gif"), "file 1-2.gif");
        net.starts.clear();
        web().scripts.clear();
        open("hot", "3");
        settle();
        EXPECT_EQ(startedFiles(), o.fetched);
        EXPECT_EQ(lastScript(web()), changeClass("hot")) << "the pack is shown with what it has";
        EXPECT_EQ(fs::exists(packFile("hot", "ver-3.txt")), o.complete);
        EXPECT_EQ(fs::exists(packFile("hot", kPartialFile)), !o.complete);
        EXPECT_EQ(readBytes(packFile("hot", "1-1.gif")), "file 1-1.gif");
        EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    }
    // A new version of the pack lists the same names: every file is fetched anew.
    servePack("hot", "1-1.gif/1-2.gif/1-3.gif/ver-4.txt", {"1-1.gif", "1-2.gif", "1-3.gif", "ver-4.txt"});
    net.starts.clear();
    open("hot", "4");
    settle();
    EXPECT_EQ(startedFiles(), (std::vector<std::string>{"imgs.txt", "1-1.gif", "1-2.gif", "1-3.gif", "ver-4.txt"}));
}

// A service that trickles bytes just fast enough never ends a file: the
// whole download has a time limit, after which the pack ends with what
// arrived and the panel slot is free again.
TEST_F(PackDownloadTest, ATricklingServiceEndsTheDownloadAtItsTimeLimit) {
    startLibrary();
    servePack("slow", "1-1.gif/1-2.gif/1-3.gif/1-4.gif/ver-1.txt", {"1-1.gif", "ver-1.txt"});
    for (const char* f : {"1-2.gif", "1-3.gif", "1-4.gif"}) {
        answer(faceUrl(std::string("slow/") + f), "");
        net.answers[faceUrl(std::string("slow/") + f)].stall = true;
    }
    debug->show();
    open("slow", "1");
    fake.loop.advance(limits::kBatchTotalMs - 1000);
    ASSERT_NE(this->panel<PublicFaceDownLoader>(), nullptr) << "still downloading";
    fake.loop.advance(1000);
    settle();
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr) << "the slot is free again";
    EXPECT_TRUE(net.running().empty());
    EXPECT_EQ(lastScript(web()), changeClass("slow"));
    EXPECT_FALSE(fs::exists(packFile("slow", "ver-1.txt")));
    std::vector<std::string> lines;
    for (int i = 0; i < debug->List1().count(); ++i) lines.push_back(debug->List1().item(i));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "-没有下载成功：1-4.gif/1-2.gif/1-3.gif/ver-1.txt"), lines.end())
        << "what did not arrive is listed once: the three stalled files and the marker never started";
    EXPECT_EQ(messages(), std::vector<std::string>{"有3个表情没有下载成功。再次打开这个表情包会下载其余的表情。"})
        << "the marker is no face";
    main->callVb("manage||-");
    EXPECT_NE(main->control(MainForm::kSlot), nullptr) << "another panel can open";
}

// A second click on 取消 while the first one is still at work (events run
// meanwhile) must neither leave twice nor reach a destroyed panel.
TEST_F(PackDownloadTest, ASecondCancelFindsThePanelLeaving) {
    startLibrary();
    servePack("hot", "1-1.gif/ver-3.txt/1-2.gif", {"1-1.gif", "ver-3.txt"});
    net.answers[faceUrl("hot/1-2.gif")] = FakeAnswer{"", kReadEndOfData, 10, true};
    open("hot", "3");
    settle();
    FakeButton& cancel = panelForm("PublicFaceDownLoader")->buttonNamed("Command1");
    int clicks = 0;
    fake.loop.onProcessEvents = [&] {
        if (clicks++ == 0) cancel.click();
        fake.loop.advance(10);
    };
    debug->show();
    cancel.click();
    fake.loop.onProcessEvents = nullptr;
    settle();
    int closed = 0;
    for (int i = 0; i < debug->List1().count(); ++i)
        closed += debug->List1().item(i) == "-panel closed: tempUserControl";
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr);
    EXPECT_FALSE(fs::exists(packFile("hot", "ver-3.txt")));
}

// The program ended after the pack had arrived but before its page was made
// (killed, say): the next opening makes the page from what is there instead
// of showing a pack without a page, and clears what the write left behind.
TEST_F(PackDownloadTest, APackWithoutItsPageIsProcessedAtTheNextOpening) {
    startLibrary();
    writeBytes(dir / "templates/faceMain.html", "<title>{{pathName}}</title>");
    for (const char* f : {"1-1.gif", "1-2.gif", "ver-3.txt"}) writeBytes(packFile("hot", f), "x");
    const std::string stray = partFileOf(packFile("hot", "main.html"));
    writeBytes(stray, "<title>ha");
    open("hot", "3");
    ASSERT_NE(this->panel<PublicFaceProcess>(), nullptr) << "processed, not downloaded";
    settle();
    EXPECT_TRUE(net.starts.empty());
    EXPECT_EQ(readBytes(packFile("hot", "main.html")), "<title>hot</title>");
    EXPECT_FALSE(fs::exists(stray));
    EXPECT_EQ(lastScript(web()), changeClass("hot"));
    web().scripts.clear();
    open("hot", "3");
    EXPECT_EQ(main->control(MainForm::kSlot), nullptr) << "with its page the pack is shown at once";
    EXPECT_EQ(lastScript(web()), changeClass("hot"));
}

}  // namespace tovlo::test

// The download control: batches, failures, files and re-entrant handlers.
#include <gtest/gtest.h>

#include "library/downloader.h"
#include "platform/fake/fake_async_url_read.h"
#include "platform/fake/fake_services.h"
#include "support/temp_dir.h"

namespace tovlo::test {

class DownloaderTest : public ::testing::Test {
protected:
    DownloaderTest() {
        net.manual = true;
        auto r = net.create();
        reader = r.get();
        dl = std::make_unique<Downloader>(std::move(r), messages);
        dl->DownloadProgress = [this](std::int64_t cur, std::int64_t max, const std::string& f) {
            log.push_back("progress " + std::to_string(cur) + "/" + std::to_string(max) + " " + f);
        };
        dl->DownloadError = [this](const std::string& f) { log.push_back("error " + f); };
        dl->DownloadComplete = [this](std::int64_t max, const std::string& f) {
            log.push_back("complete " + std::to_string(max) + " " + f);
        };
        dl->DownloadAllComplete = [this](const std::vector<std::string>& failed) {
            batches.push_back(failed);
            if (onAll) onAll();
        };
    }
    std::string f(const std::string& name) { return dir / name; }

    TempDir dir;
    FakeEventLoop loop;
    FakeNetwork net{loop};
    FakeMessageBox messages;
    AsyncUrlRead* reader = nullptr;
    std::unique_ptr<Downloader> dl;
    std::vector<std::string> log;
    std::vector<std::vector<std::string>> batches;
    std::function<void()> onAll;
};

TEST_F(DownloaderTest, BatchEndsOnceAfterTheLastDownloadWithTheFailuresInQueueOrder) {
    for (const char* name : {"a", "b", "c", "d"})
        ASSERT_TRUE(dl->BeginDownload(std::string("http://h/") + name, f(name)));
    net.progress(f("a"), 0, 0, kReadConnecting);
    EXPECT_TRUE(log.empty()) << "no progress event while the size is unknown";
    net.progress(f("a"), 3, 10, kReadReceiving);
    net.finish(f("d"), kReadError);
    net.finish(f("b"), kReadError);
    net.finish(f("a"), kReadEndOfData, "0123456789");
    EXPECT_TRUE(batches.empty());
    EXPECT_EQ(dl->FileStates(), (std::vector<std::uint8_t>{0, 6, 0, 255, 0}));
    net.finish(f("c"), kReadEndOfData, "c!");
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0], (std::vector<std::string>{"", f("b"), f("d")}));
    EXPECT_EQ(log, (std::vector<std::string>{"progress 3/10 " + f("a"), "error " + f("d"), "error " + f("b"),
                                             "complete 10 " + f("a"), "complete 2 " + f("c")}));
    EXPECT_EQ(readBytes(f("a")), "0123456789");
    EXPECT_FALSE(std::filesystem::exists(f("b"))) << "a failed download writes no file";
    EXPECT_EQ(dl->SaveFiles().size(), 1u) << "the batch is empty again";
}

TEST_F(DownloaderTest, FilesAreReplacedWholeAndAFailureLeavesTheGoodFile) {
    writeBytes(f("long"), "a much longer old content");
    writeBytes(f("good"), "good old content");
    dl->BeginDownload("http://h/long", f("long"));
    dl->BeginDownload("http://h/good", f("good"));
    dl->BeginDownload("http://h/nofolder", f("missing/x"));
    net.finish(f("long"), kReadEndOfData, "new");
    net.finish(f("good"), kReadError);
    net.finish(f("missing/x"), kReadEndOfData, "lost");
    EXPECT_EQ(readBytes(f("long")), "new");
    EXPECT_EQ(readBytes(f("good")), "good old content");
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0], (std::vector<std::string>{"", f("good"), f("missing/x")}))
        << "a file that cannot be written counts as failed";
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_TRUE(entry.path().filename() == "long" || entry.path().filename() == "good") << entry.path();
}

TEST_F(DownloaderTest, RefusedDownloadsAreNotQueuedAndSayWhy) {
    net.refuseStart.insert("http://h/down");
    EXPECT_FALSE(dl->BeginDownload("http://h/down", f("a")));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].title, "错误");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages.shown[0].text,
              "-2147012867:错误在调用 BeginDownload().\r\n\r\n错误描述: cannot connect: http://h/down");
    EXPECT_EQ(dl->SaveFiles().size(), 1u);

    ASSERT_TRUE(dl->BeginDownload("http://h/a", f("a")));
    ASSERT_TRUE(dl->BeginDownload("http://h/b", f("b")));
    EXPECT_FALSE(dl->BeginDownload("http://h/a2", f("a"))) << "the same file while it is still open";
    for (int i = 0; i < 100; ++i) EXPECT_FALSE(dl->BeginDownload("http://h/down", f("x" + std::to_string(i))));
    EXPECT_EQ(messages.shown.size(), 1u) << "one box for the batch, not one for each refusal";
    net.finish(f("a"), kReadEndOfData, "1");
    ASSERT_TRUE(dl->BeginDownload("http://h/a3", f("a"))) << "once it has ended it may be fetched again";
    net.finish(f("a"), kReadEndOfData, "3");
    EXPECT_TRUE(batches.empty());
    net.finish(f("b"), kReadEndOfData, "2");
    ASSERT_EQ(batches.size(), 1u) << "every entry of the batch was recorded";
    EXPECT_EQ(readBytes(f("a")), "3");
    EXPECT_FALSE(dl->BeginDownload("http://h/down", f("y")));
    ASSERT_EQ(messages.shown.size(), 2u) << "the next batch says it again";
    EXPECT_TRUE(messages.shown[1].text.starts_with("-2147012867:错误在调用 BeginDownload()."));
}

// A list that names a file twice: the channel that finished it draws it again
// from inside its completion, and the second download is taken.
TEST_F(DownloaderTest, AFileMayBeStartedAgainFromItsOwnCompletion) {
    int again = 0;
    dl->DownloadComplete = [&](std::int64_t, const std::string& saveFile) {
        if (again++ == 0) {
            EXPECT_TRUE(dl->BeginDownload("http://h/a", saveFile));
        }
    };
    ASSERT_TRUE(dl->BeginDownload("http://h/a", f("a")));
    net.finish(f("a"), kReadEndOfData, "1");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(batches.empty()) << "the second download is open";
    net.finish(f("a"), kReadEndOfData, "2");
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0], std::vector<std::string>{""});
    EXPECT_EQ(readBytes(f("a")), "2");
}

TEST_F(DownloaderTest, ABatchHoldsAtMost32767Downloads) {
    for (int i = 0; i < Downloader::kMaxBatch; ++i) ASSERT_TRUE(dl->BeginDownload("u", f(std::to_string(i))));
    EXPECT_FALSE(dl->BeginDownload("u", f("one-more")));
    EXPECT_EQ(dl->SaveFiles().size(), static_cast<std::size_t>(Downloader::kMaxBatch) + 1);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(DownloaderTest, CancelAndStrayCompletions) {
    EXPECT_TRUE(dl->CancelAllDownload());
    EXPECT_TRUE(net.cancels.empty()) << "nothing to cancel in an empty batch";
    // A read this batch does not know still ends the (empty) batch.
    reader->start("http://h/x", f("stray"), limits::kTextBytes);
    net.finish(f("stray"), kReadEndOfData, "s");
    ASSERT_EQ(batches.size(), 1u);
    EXPECT_EQ(batches[0], std::vector<std::string>{""});

    dl->BeginDownload("http://h/a", f("a"));
    dl->BeginDownload("http://h/b", f("b"));
    net.progress(f("a"), 1, 5, kReadError);
    EXPECT_EQ(net.running(), std::vector<std::string>{f("b")}) << "an error in progress cancels that read";
    EXPECT_TRUE(dl->CancelAllDownload());
    EXPECT_TRUE(net.running().empty());
    EXPECT_EQ(dl->SaveFiles().size(), 1u);
}

TEST_F(DownloaderTest, AHandlerStartsTheNextBatchOnAnEmptyList) {
    int round = 0;
    onAll = [&] {
        EXPECT_EQ(dl->SaveFiles().size(), 1u) << "emptied before the event";
        if (++round < 3) dl->BeginDownload("http://h/n", f("n" + std::to_string(round)));
    };
    dl->BeginDownload("http://h/first", f("first"));
    net.finish(f("first"), kReadEndOfData, "x");
    net.finish(f("n1"), kReadEndOfData, "x");
    net.finish(f("n2"), kReadError);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[2], (std::vector<std::string>{"", f("n2")}));
    EXPECT_TRUE(net.running().empty());
}

TEST_F(DownloaderTest, DestroyingTheControlCancelsItsReads) {
    dl->BeginDownload("http://h/a", f("a"));
    dl.reset();
    EXPECT_TRUE(net.running().empty());
}

}  // namespace tovlo::test

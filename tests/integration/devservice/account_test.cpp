// Logging in and registering through /soft/login2.asp.
#include "core/text.h"
#include "devservice_test.h"

using namespace tovlo;
using namespace tovlo::test;

namespace {

class AccountTest : public DevServiceTest {
protected:
    httplib::Result submit(const std::string& action, const std::string& name, const std::string& password) {
        return postForm("/soft/login2.asp", "action=" + action + "&name=" + percentEncode(gbk(name)) +
                                                "&password=" + percentEncode(gbk(password)));
    }
};

}  // namespace

TEST_F(AccountTest, TheFormLogsTheDemoAccountIn) {
    auto form = get("/soft/login2.asp");
    ASSERT_TRUE(form);
    EXPECT_EQ(form->status, 200);
    EXPECT_EQ(form->get_header_value("Content-Type"), "text/html; charset=gbk");
    EXPECT_TRUE(contains(form->body, "<form")) << "GET shows the form";
    EXPECT_FALSE(contains(form->body, "loginSucc||"));

    auto res = submit("login", "demo", "demo");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_TRUE(contains(res->body, "\"loginSucc||demo\"")) << "the page sends loginSucc with the name";
}

TEST_F(AccountTest, AWrongPasswordOrUnknownNameIsRefusedInTheSameWords) {
    for (auto [name, password] : {std::pair{"demo", "demo2"}, std::pair{"nobody", "demo"}}) {
        auto res = submit("login", name, password);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 403) << name;
        EXPECT_TRUE(contains(fromGbk(res->body), "账号或密码错误")) << name;
        EXPECT_FALSE(contains(res->body, "loginSucc||"));
    }
}

TEST_F(AccountTest, AChineseNameRegistersLogsInAndGetsAnEmptyClassList) {
    auto res = submit("register", "张三", "mima1234");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_TRUE(contains(res->body, "\"regSucc||\\u5f20\\u4e09\"")) << res->body;

    res = submit("login", "张三", "mima1234");
    ASSERT_TRUE(res);
    EXPECT_TRUE(contains(res->body, "\"loginSucc||\\u5f20\\u4e09\""));
    EXPECT_EQ(text("/soft/manageClass_ajax.asp?action=classList_Script&userName=%D5%C5%C8%FD&t=1"),
              "var classList=[];");
    EXPECT_TRUE(contains(text("/soft/myClass.asp?uName=%D5%C5%C8%FD&t=1"), "张三"));
}

TEST_F(AccountTest, ATakenNameIsRefusedWhateverItsLetterCase) {
    for (const char* name : {"demo", "DEMO"}) {
        auto res = submit("register", name, "another1");
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 409) << name;
        EXPECT_TRUE(contains(fromGbk(res->body), "该账号已被注册"));
        EXPECT_FALSE(contains(res->body, "\"regSucc||"));
    }
    // The old password still holds.
    EXPECT_TRUE(contains(submit("login", "demo", "demo")->body, "loginSucc||demo"));
}

TEST_F(AccountTest, NamesThatCouldBreakPathsOrScriptsAndShortPasswordsAreRefused) {
    for (const char* name : {"a b", "../x", "x'y", "a/b", "tom;", "abcdefghijklmnopq"}) {
        auto res = submit("register", name, "goodpass");
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 400) << name;
    }
    auto res = submit("register", "shorty", "abc");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 400);
    EXPECT_TRUE(contains(fromGbk(res->body), "密码需为4到32个字符"));
}

TEST_F(AccountTest, PasswordsAreStoredSaltedAndHashed) {
    ASSERT_EQ(submit("register", "alice", "CorrectHorse42")->status, 200);
    ASSERT_EQ(submit("register", "bob", "CorrectHorse42")->status, 200);
    std::string stored = readBytes(service.dataFolder() + "/data/accounts.txt");
    EXPECT_FALSE(contains(stored, "CorrectHorse42"));
    std::vector<std::string> alice, bob;
    for (const std::string& line : split(stored, "\n")) {
        if (startsWith(line, "alice\t")) alice = split(line, "\t");
        if (startsWith(line, "bob\t")) bob = split(line, "\t");
    }
    ASSERT_EQ(alice.size(), 3u);
    ASSERT_EQ(bob.size(), 3u);
    EXPECT_NE(alice[1], bob[1]) << "each account has its own salt";
    EXPECT_NE(alice[2], bob[2]) << "so equal passwords give different keys";
}

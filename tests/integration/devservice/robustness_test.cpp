// What must hold whatever is asked: nothing outside the data folder is
// reached, bad requests get a 4xx while the service runs on, and every change
// survives a restart.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "core/text.h"
#include "devservice_test.h"

using namespace tovlo;
using namespace tovlo::test;

namespace {

using RobustnessTest = DevServiceTest;

}  // namespace

TEST_F(RobustnessTest, PathsThatLeaveTheServedFolderOrAreNotGbkAreRefused) {
    std::filesystem::create_directory_symlink("/", service.dataFolder() + "/soft/escape");
    const std::string pack = "/soft/" + percentEncode(gbk("经典笑脸"));
    const std::vector<std::string> targets = {
        "/soft/../data/accounts.txt",
        "/soft/%2e%2e/data/accounts.txt",
        "/soft/%2E%2E%2Fdata%2Faccounts.txt",
        pack + "/..%5c..%5cdata%5caccounts.txt",
        pack + "/1-1.gif%00.txt",
        "/soft//etc/passwd",
        "/soft/%2fetc/passwd",
        "/soft/./connect.html",
        "/soft/escape/etc/passwd",
        pack + "/%2e%2e/%2e%2e/data/accounts.txt",
        "/data/accounts.txt",
        "/../data/accounts.txt",
        "/soft/..%252f..%252fdata/accounts.txt",
        // Not GBK: a lead byte cut off, bytes GBK never uses, a lead
        // byte that would swallow the "/" after it.
        pack.substr(0, pack.size() - 3) + "/imgs.txt",
        "/soft/%80/imgs.txt",
        "/soft/%FF%FF/imgs.txt",
        "/soft/%BE/..%2F..%2Fdata/accounts.txt",
        // A GBK character whose second byte is "\", then "\" and "..".
        "/soft/%81%5C..%5C..%5Cdata%5Caccounts.txt",
    };
    for (const std::string& target : targets) {
        RawAnswer answer = rawGet(service.port(), target);
        EXPECT_GE(answer.status, 400) << target;
        EXPECT_LT(answer.status, 500) << target;
        EXPECT_FALSE(contains(answer.body, "demo\t")) << target;
        EXPECT_FALSE(contains(answer.body, "root:")) << target;
    }
    EXPECT_EQ(servedBytes("/soft/connect.html"), "1");
}

TEST_F(RobustnessTest, BadRequestsGetA4xxAndTheServiceRunsOn) {
    const std::vector<std::string> broken = {
        "HELLO\r\n\r\n",
        "GET\r\n\r\n",
        "GET /soft/connect.html HTTP/9.9\r\n\r\n",
        "POST /soft/login2.asp HTTP/1.1\r\nHost: x\r\nContent-Length: 5\r\n\r\n",  // body never comes
        "GET /soft/" + std::string(10000, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n",
    };
    for (const std::string& request : broken) {
        RawAnswer answer = rawExchange(service.port(), {request});
        if (answer.status != 0) {
            EXPECT_GE(answer.status, 400) << request.substr(0, 40);
            EXPECT_LT(answer.status, 500) << request.substr(0, 40);
        }
    }
    for (const char* target : {"/soft/showFace.asp", "/soft/showFace.asp?classId=0",
                               "/soft/myClass.asp?uName=", "/soft/manageClass_ajax.asp?action=drop&userName=demo",
                               "/soft/manageClass_ajax.asp?action=deleteClass&userName=demo&classId=10",
                               "/soft/uploadFace.asp?classId=-1", "/soft/nothing.html", "/nothing"}) {
        auto res = get(target);
        ASSERT_TRUE(res) << target;
        EXPECT_GE(res->status, 400) << target;
        EXPECT_LT(res->status, 500) << target;
    }
    EXPECT_TRUE(service.running());
    EXPECT_EQ(servedBytes("/soft/connect.html"), "1");
    EXPECT_EQ(text("/soft/showFace.asp?classId=10&PageNo=2").substr(0, 6), "开心") << "class 10 was not deleted by GET";
}

TEST_F(RobustnessTest, ASecondServiceCannotShareABusyPort) {
    std::string command = "timeout 10 " + std::string(DEVSERVICE_BIN) + " --root " + service.dataFolder() + " --port " +
                          std::to_string(service.port()) + " >/dev/null 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1) << "it gives up at once instead of listening beside the first";
    EXPECT_EQ(servedBytes("/soft/connect.html"), "1");
}

TEST_F(RobustnessTest, AccountsClassesAndFacesSurviveARestart) {
    ASSERT_EQ(postForm("/soft/login2.asp", "action=register&name=carol&password=carolpw")->status, 200);
    auto added = act("carol", "addClass", "&name=" + percentEncode("旅行"));
    ASSERT_EQ(added->status, 200);
    std::string id = splitFirst(splitFirst(added->body, "\"id\":\"")->second, "\"")->first;
    std::string picture = servedBytes(packAddress("上班族", "2-3.jpg"));
    RawAnswer upload = uploadAsTheProgram(service.port(), id, "C:\\a.jpg", picture);
    ASSERT_TRUE(contains(upload.body, "call(" + id + ")"));
    ASSERT_EQ(act("demo", "renameClass", "&classId=" + kWorkClass + "&name=" + percentEncode("上班"))->status, 200);

    service.restart();

    EXPECT_TRUE(
        contains(postForm("/soft/login2.asp", "action=login&name=carol&password=carolpw")->body, "loginSucc||carol"));
    EXPECT_EQ(text("/soft/manageClass_ajax.asp?action=classList_Script&userName=carol"),
              "var classList=[{id:'" + id + "',name:'旅行'}];");
    std::string listing = text("/soft/showFace.asp?classId=" + id + "&PageNo=1");
    std::vector<std::string> faces = split(splitFirst(listing, "--")->first, "||");
    ASSERT_EQ(faces.size(), 2u) << listing;
    EXPECT_EQ(servedBytes("/soft/" + split(faces[1], "$$")[1]), picture);
    EXPECT_TRUE(startsWith(text("/soft/showFace.asp?classId=" + kWorkClass + "&PageNo=1"), "上班||"));
    // Counters survived too: a new class does not reuse an id.
    auto next = act("carol", "addClass", "&name=more");
    EXPECT_FALSE(contains(next->body, "\"id\":\"" + id + "\""));
}

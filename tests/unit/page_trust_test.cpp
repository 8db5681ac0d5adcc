// Which pages may call the program: the rule every browser engine applies.
#include <gtest/gtest.h>

#include "platform/page_trust.h"

namespace tovlo {
namespace {

TEST(PageTrust, OnlyTheProgramsOwnAndTheServicesPagesMayCall) {
    struct Row {
        const char* url;
        const char* trusted;
        bool may;
    };
    const Row rows[] = {
        {"", "", true},
        {"file:///C:/Tovlo/w/main.html?v=3", "", true},
        {"FILE:///opt/tovlo/w/main.html", "svc.example", true},
        {"about:blank", "", true},
        {"http://svc.example/soft/a.html", "svc.example", true},
        {"http://SVC.example:80/soft/", "svc.example", true},
        {"http://127.0.0.1:8080/soft/x", "127.0.0.1:8080", true},
        {"http://127.0.0.1:8081/soft/x", "127.0.0.1:8080", false},
        {"http://svc.example/soft/", "", false},
        {"https://svc.example/soft/", "svc.example", false},
        {"http://svc.example.evil.test/", "svc.example", false},
        {"http://svc.example@evil.test/", "svc.example", false},
        {"http://evil.test/?svc.example", "svc.example", false},
        {"javascript:alert(1)", "svc.example", false},
        {"about:blank#x", "", false},
    };
    for (const Row& row : rows) EXPECT_EQ(pageMayCallHost(row.url, row.trusted), row.may) << row.url;
}

}  // namespace
}  // namespace tovlo

#pragma once
// A fixture with a fresh devservice per test and HTTP helpers that speak GBK.
#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <string>

#include "devservice_process.h"
#include "raw_http.h"

namespace tovlo::test {

// The sample data's demo classes, as make_sample_data creates them.
inline const std::string kHappyClass = "10";  // 开心, 23 faces
inline const std::string kWorkClass = "11";   // 工作, 5 faces

// The address of a file of a public pack as the program sends it: the
// folder name in percent-encoded GBK.
inline std::string packAddress(const std::string& pack, const std::string& file) {
    return "/soft/" + percentEncode(gbk(pack)) + "/" + file;
}

class DevServiceTest : public ::testing::Test {
protected:
    DevServiceProcess service;

    httplib::Client& http() {
        if (!client_ || clientPort_ != service.port()) {
            client_ = std::make_unique<httplib::Client>("127.0.0.1", service.port());
            client_->set_read_timeout(10, 0);
            clientPort_ = service.port();
        }
        return *client_;
    }
    httplib::Result get(const std::string& target) { return http().Get(target.c_str()); }
    // The body of a 200 answer, from GBK; empty (and a failed check) otherwise.
    std::string text(const std::string& target) {
        auto res = get(target);
        EXPECT_TRUE(res && res->status == 200) << target << " -> " << (res ? res->status : 0);
        return res && res->status == 200 ? fromGbk(res->body) : "";
    }
    // A form POST whose values the caller has percent-encoded as GBK, as a
    // page's form sends them.
    httplib::Result postForm(const std::string& path, const std::string& body) {
        return http().Post(path.c_str(), body, "application/x-www-form-urlencoded");
    }
    // A class manager action as its page script sends it (UTF-8 form body).
    httplib::Result act(const std::string& user, const std::string& action, const std::string& more = "") {
        std::string body = "action=" + action + "&userName=" + percentEncode(user) + more;
        return http().Post("/soft/manageClass_ajax.asp", body, "application/x-www-form-urlencoded;charset=UTF-8");
    }
    std::string servedBytes(const std::string& target) {
        auto res = get(target);
        return res && res->status == 200 ? res->body : "";
    }

private:
    std::unique_ptr<httplib::Client> client_;
    int clientPort_ = 0;
};

}  // namespace tovlo::test

#pragma once
// MyFaceDownLoader: makes one page of one of the account's face classes.
// It fetches the class listing, downloads every face (large image and
// thumbnail) that is not on disk yet, one entry per batch, writes the class
// page from its template and hands back with exitDownMyFace.
#include <memory>
#include <string>
#include <vector>

#include "bridge/panel.h"
#include "bridge/panel_host.h"
#include "library/downloader.h"
#include "library/library_deps.h"

namespace tovlo {

class MyFaceDownLoader : public Panel {
public:
    MyFaceDownLoader(PanelHost& host, std::unique_ptr<Form> form, const LibraryDeps& deps);
    void switchOff() override {
        timer1_->setEnabled(false);
        deadline_->setEnabled(false);
        downloader1_.CancelAllDownload();
    }
    // The panel's controls.
    static FormDescription formDescription();

    // "PClassId" and "PPage"; a value that is no safe folder or file name is refused.
    void setProperty(const std::string& name, const std::string& value) override;
    std::string PClassId() const { return classId_; }
    void setPClassId(const std::string& id);
    std::string PPage() const { return page_; }
    // Starts the cycle: a fresh listing, from the first entry, 100 ms later.
    void setPPage(const std::string& page);
    // Sets both without starting anything.
    void setPar(const std::string& classId, const std::string& page);

    Timer& Timer1() { return *timer1_; }
    Downloader& Downloader1() { return downloader1_; }
    const std::vector<std::string>& faceList() const { return faceList_; }

    // Each progress bar beside its label.
    Form& progress() { return form().group("progress", "", Flow::Pairs); }

private:
    void timer1Tick();
    void allComplete();
    void timeUp();
    void buildPage(bool withoutEntries);
    // True (and the panel handed back) when the account the download began
    // for has logged out or another has logged in.
    bool accountLeft();
    std::string listingFile() const;
    std::string serviceUrl(const std::string& path) const;

    PanelHost& host_;
    LibraryDeps deps_;
    std::unique_ptr<Timer> timer1_;
    std::unique_ptr<Timer> deadline_;
    std::vector<std::string> failed_;  // files that did not arrive
    Downloader downloader1_;
    std::string classId_;
    std::string page_;
    // The account the download is for and its folder, fixed at its start.
    std::string user_;
    std::string userFolder_;
    bool isNewList_ = false;
    int faceIndex_ = 1;
    std::string listText_;
    std::vector<std::string> faceList_;
};

}  // namespace tovlo

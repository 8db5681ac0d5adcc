#pragma once
// PublicFaceDownLoader: downloads a public face pack. It fetches the pack's
// file list (imgs.txt, names separated by "/") and then every listed file
// over three channels, each starting its next file when its previous one has
// ended, and hands over to the processing with exitDownPublicFace. A file
// that fails leaves the pack incomplete (no version marker): the next
// opening fetches what is missing, and only that. The whole download has a
// time limit, so a service that trickles bytes still lets it end.
#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "bridge/panel.h"
#include "bridge/panel_host.h"
#include "library/downloader.h"
#include "library/library_deps.h"

namespace tovlo {

class PublicFaceDownLoader : public Panel {
public:
    PublicFaceDownLoader(PanelHost& host, std::unique_ptr<Form> form, const LibraryDeps& deps);
    void switchOff() override {
        timer1_->setEnabled(false);
        deadline_->setEnabled(false);
        downloader1_.CancelAllDownload();
    }
    // The panel's controls.
    static FormDescription formDescription();

    // "PPath": the pack's folder name; starts the download.
    void setProperty(const std::string& name, const std::string& value) override;
    void setPPath(const std::string& pack);
    // The whole file as text; error 53 when it is missing.
    std::string FileText(const std::string& path) const;

    Timer& Timer1() { return *timer1_; }
    Downloader& Downloader1() { return downloader1_; }
    Button& Command1() { return form().button("Command1"); }
    // Each progress bar beside its label.
    Form& progress() { return form().group("progress", "", Flow::Pairs); }
    const std::array<std::string, 3>& channels() const { return channels_; }

    static constexpr const char* kChannelDone = "-1";

private:
    void timer1Tick();
    void listArrived();
    // The list did not arrive: the user is told, and the panel leaves.
    void listFailed();
    // A file of the pack has ended (arrived or failed): its channel goes on.
    void fileEnded(const std::string& saveFile, bool arrived);
    // Gives the channel its next usable name and starts it; marks the
    // channel done ("-1") when the list has nothing more for it.
    void startNext(int channel);
    std::string nextFile();
    int channelOf(const std::string& saveFile);
    void checkChannels();
    void cancelClick();
    // The total time is up: what has not arrived counts as failed.
    void timeUp();
    // The pack is done (complete or not): what failed is listed, and a pack
    // that is not complete keeps a record of what arrived.
    void finish();
    void removeVersionMarkers();
    std::string fileUrl(const std::string& name) const;
    std::string packFolder() const;
    std::string listFile() const;
    std::string saveFileOf(const std::string& name) const;
    std::string channelLine() const;

    PanelHost& host_;
    LibraryDeps deps_;
    std::unique_ptr<Timer> timer1_;
    std::unique_ptr<Timer> deadline_;
    Downloader downloader1_;
    std::string PPath_;
    bool isListStage_ = false;
    bool finished_ = false;
    bool anyFailed_ = false;
    std::vector<std::string> packList_;
    std::size_t nextIndex_ = 0;
    std::string version_;               // the list's version markers
    std::set<std::string> arrived_;     // names in the folder, from this run or the last
    std::vector<std::string> failed_;   // names that did not arrive
    std::vector<std::string> refused_;  // names of the list that are not downloaded
    std::array<std::string, 3> channels_;
};

}  // namespace tovlo

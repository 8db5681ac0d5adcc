#pragma once
// The main window's page commands (web name "web"): one table from the
// command's name to its handler. Commands that the program itself runs are
// plain methods, called directly.
#include <string>
#include <vector>

#include "core/command_table.h"
#include "core/command_target.h"

namespace tovlo {

class MainForm;

class MainCommands : public CommandTarget {
public:
    explicit MainCommands(MainForm& main);

    // Writes the debug line "mainform=" + Text, then runs the command.
    void callVb(const std::string& Text) override;

    void showMySelect();
    void showMyOneClassFaces(const std::string& classId, const std::string& page);
    void getHistoryImg();
    // Pastes what the page put on the clipboard into the chat window; with
    // record, the history entry is kept first.
    void inputFace(const std::string& historyEntry, bool record);

private:
    void showSelect();
    void showFace(const std::string& arg);
    void showPack(const std::string& pack, const std::string& version);
    void into();
    // The offline notice's 使用本地表情: the main page without the service,
    // showing what is on disk.
    void localFaces();
    void openMainPage(bool offline);
    void exitFun(const std::string& defaultClass);
    void config();
    void addFace();
    void loginSucc(const std::string& account);
    void downAndShowOneFace(const std::string& arg);
    void regSucc(const std::string& account);
    void history();
    void clearHistory();
    void loginout();
    void loadPlus(const std::string& id);
    // The faces on disk, in the history and the favourites that match the
    // query, into the main page ("setSearchResults").
    void searchFaces(const std::string& query);
    void getFavourites();
    void getFrequent();
    // The index brought up to date with the face folder and the logged-in account's classes.
    void refreshFaceIndex();
    // The faces described for the page function (one line each).
    void showMarkedFaces(const char* function, const std::vector<std::string>& refs, const char* label);
    void hideWeb3();
    // Unknown commands are noted in the debug window.
    void noteUnknown();

    MainForm& main_;
    CommandTable table_;
};

}  // namespace tovlo

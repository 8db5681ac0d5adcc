#pragma once
// The parts of the sample data folder that make_sample_data writes. Text
// files the service serves as they are (lists, news, pages) are GBK.
#include <string>

#include "data_folder.h"
#include "platform/text_codec.h"

namespace tovlo::devservice {

// Writes the bytes, creating the missing folders; throws when it cannot.
void writeSampleFile(const std::string& path, const std::string& bytes);

// connect.html ("1") and params.html (the notice window off; no
// faceHttpPath item, so the program keeps its own face address).
void writeServiceFiles(const DataFolder& folder);
// Three public packs in GIF and JPEG, a few GIFs animated, and data/packs.txt.
void writePacks(const DataFolder& folder, const TextCodec& codec);
// The account "demo" (password "demo") with two classes of faces.
void writeDemoAccount(const DataFolder& folder, const TextCodec& codec);
// What the update tree delivers that the build makes: the shipped main page
// (each version's copy names its release in the footer) and the updater.
struct UpdateSources {
    std::string mainPage;  // dist/w/main.html
    std::string updater;   // the built Kestrup_updateSelf.exe
};
// update.txt "1.0-1.1-1.2-", news.txt, and the files of versions 1.1 and 1.2:
// each brings its main page and updateAft.exe, 1.2 a new updater.
void writeUpdateTree(const DataFolder& folder, const TextCodec& codec, const UpdateSources& sources);

}  // namespace tovlo::devservice

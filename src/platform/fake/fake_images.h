#pragma once
// Images without pixels: a file decodes when it holds the text "IMG <w>x<h>"
// (anything else does not), and sheets record every draw. A saved sheet is
// a text file naming its size and its draws, one per line.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/images.h"

namespace tovlo {

class FakeImages : public Images {
public:
    struct Draw {
        std::string image;  // the path it was loaded from
        Rect target;
    };

    std::unique_ptr<Image> load(const std::string& path) override {
        loads.push_back(path);
        std::ifstream in(path, std::ios::binary);
        if (!in) return nullptr;
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        int w = 0, h = 0;
        if (std::sscanf(text.c_str(), "IMG %dx%d", &w, &h) != 2 || w <= 0 || h <= 0) return nullptr;
        return std::make_unique<FakeImage>(path, w, h);
    }
    std::unique_ptr<Sheet> createSheet(int width, int height, std::uint32_t rgb) override {
        sheetWidth = width;
        sheetHeight = height;
        background = rgb;
        draws.clear();
        return std::make_unique<FakeSheet>(*this, width, height);
    }

    static std::string imageFile(int w, int h) { return "IMG " + std::to_string(w) + "x" + std::to_string(h); }

    std::vector<std::string> loads;
    std::vector<Draw> draws;  // of the newest sheet
    int sheetWidth = 0, sheetHeight = 0;
    std::uint32_t background = 0;
    bool failSave = false;

private:
    class FakeImage : public Image {
    public:
        FakeImage(std::string path, int w, int h) : path(std::move(path)), w_(w), h_(h) {}
        int width() const override { return w_; }
        int height() const override { return h_; }
        std::string path;

    private:
        int w_, h_;
    };

    class FakeSheet : public Sheet {
    public:
        FakeSheet(FakeImages& owner, int w, int h) : owner_(owner), w_(w), h_(h) {}
        int width() const override { return w_; }
        int height() const override { return h_; }
        void draw(const Image& image, const Rect& target) override {
            owner_.draws.push_back({static_cast<const FakeImage&>(image).path, target});
        }
        bool saveBmp(const std::string& path) const override {
            if (owner_.failSave) return false;
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << "BMP " << w_ << "x" << h_ << "\n";
            for (const Draw& d : owner_.draws)
                out << d.image << " " << d.target.left << " " << d.target.top << " " << d.target.width << " "
                    << d.target.height << "\n";
            return static_cast<bool>(out);
        }

    private:
        FakeImages& owner_;
        int w_, h_;
    };
};

}  // namespace tovlo

// A scratch copy of the game's data folder for the tools that play the game: they run in it,
// so the shipped "sound.cop" and "LEVEL.MGS" are never touched.
#pragma once

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <utility>

namespace tools {

// Copies the data folder into a fresh folder under the system's temporary folder and makes
// that the working directory; on destruction changes to `back` and removes the copy.
class ScratchData {
  public:
    ScratchData(const std::filesystem::path& data, std::filesystem::path back)
        : back_(std::move(back)), work_(std::filesystem::temp_directory_path() /
                                        ("muv-scratch-" + std::to_string(std::random_device{}())))
    {
        std::error_code ec;
        std::filesystem::copy(data, work_, std::filesystem::copy_options::recursive, ec);
        if (!ec) {
            std::filesystem::current_path(work_, ec);
        }
        if (ec) {
            std::fprintf(stderr, "cannot copy %s: %s\n", data.c_str(), ec.message().c_str());
        }
        ok_ = !ec;
    }
    ~ScratchData()
    {
        std::error_code ec;
        std::filesystem::current_path(back_, ec);
        std::filesystem::remove_all(work_, ec);
    }
    ScratchData(const ScratchData&) = delete;
    ScratchData& operator=(const ScratchData&) = delete;

    bool ok() const { return ok_; }

  private:
    std::filesystem::path back_;
    std::filesystem::path work_;
    bool ok_ = false;
};

} // namespace tools

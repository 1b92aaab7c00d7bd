// Test support: a Services on the headless platform, temporary folders and files, pixels.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "services/platform/headless/headless_platform.h"
#include "services/services.h"

namespace testing_support {

// A ready services layer on a headless platform with a virtual clock set to 12:00:00.
// Construction starts the game at that time and runs the virtual clock on to the next
// whole second.
struct Harness {
    svc::HeadlessPlatform platform;
    std::unique_ptr<svc::Services> services;

    explicit Harness(int hours = 12, int minutes = 0, int seconds = 0, double ms = 0);
    svc::Services& sv() { return *services; }
    svc::ScreenImage& screen() { return services->screen(); }
    // Runs fn on the game's side; returns the exit code if it ended the program, else -1.
    // The pending error (0 if none), answered with Yes so the next step can raise its own.
    int answerError();
    template <class Fn> int run(Fn&& fn)
    {
        try {
            fn();
        } catch (const svc::ProgramExit& e) {
            return e.exitCode;
        }
        return -1;
    }
};

// Waits (real time, bounded) until cond holds; true if it did.
template <class Cond> bool eventually(Cond cond, int ms = 3000)
{
    for (int i = 0; i < ms / 5 && !cond(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return cond();
}

// A fresh temporary folder that becomes the working directory while it lives.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// How many pixels of the box from (x0, y0) to (x1, y1), corners included, show the colour.
int count_colour(const svc::ScreenImage& image, int colour, int x0, int y0, int x1, int y1);

// Fills a picture buffer with a w x h block of one colour (the rest of the buffer zeroed).
void solid_block(std::vector<std::int16_t>& buffer, int w, int h, int colour);

// Fills dir as the game's folder: the generated data, the sound choice (none if negative)
// and the saved level.
void lay_out_game_folder(const std::filesystem::path& dir, int soundChoice, int savedLevel);

// The files of a folder whose names end in `extension` (".ogg"), sorted.
std::vector<std::filesystem::path> files_ending(const std::filesystem::path& dir,
                                                const std::string& extension);

// Reads a whole file as bytes.
std::string read_file(const std::filesystem::path& p);
// Writes bytes to a file.
void write_file(const std::filesystem::path& p, const std::string& bytes);

} // namespace testing_support

// Developer tool: plays the keys and clicks a browser page took, at the same window passes,
// on the headless platform, and writes the picture of the pass the page was held at.
//
//   web_replay DATA_DIR HH:MM:SS STOP_PASS[,STOP_PASS...] EVENTS OUT.ppm [SOUNDS]
//
// The page with a fixed clock ("?clock=HH:MM:SS&stopAtPass=N") runs the game on the headless
// platform's time and window passes; EVENTS holds what it took, one line each:
//   PASS 1 CODE MODIFIERS     a key (the browser's key code, the page's modifier bits)
//   PASS 2 X Y                a click on the picture
// The game runs over a copy of DATA_DIR; OUT.ppm gets the screen image (binary PPM) after
// window pass STOP_PASS, the one the page's canvas shows; with several passes (the page held
// at each in turn) OUT-PASS.ppm for each. SOUNDS gets the tones and music files started until
// the last, as the page notes them ("tone MS FRAMES SUM", then "file MS NAME
// sample|stream STARTED"; MS in thousandths of a millisecond, SUM a checksum of the samples).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/program.h"
#include "services/platform/headless/headless_platform.h"
#include "services/platform/web/web_keys.h"
#include "services/services.h"
#include "tools/scratch_data.h"

namespace fs = std::filesystem;

namespace {

struct Taken {
    unsigned long pass = 0;
    int kind = 0;
    std::string code;
    int a = 0, b = 0; // modifiers, or x and y
};

bool read_events(const std::string& path, std::vector<Taken>& out)
{
    std::ifstream in(path);
    if (!in) {
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        Taken t;
        if (!(words >> t.pass >> t.kind)) {
            continue;
        }
        const bool ok = t.kind == 1 ? static_cast<bool>(words >> t.code >> t.a)
                                    : static_cast<bool>(words >> t.a >> t.b);
        if (!ok) {
            return false;
        }
        out.push_back(t);
    }
    return true;
}

// The passes to take a picture at, rising: "120,400,950".
bool read_passes(const std::string& text, std::vector<unsigned long>& out)
{
    std::istringstream words(text);
    unsigned long pass = 0;
    char comma = ',';
    while (comma == ',' && words >> pass) {
        if (pass == 0 || (!out.empty() && pass <= out.back())) {
            return false;
        }
        out.push_back(pass);
        comma = '\0';
        words >> comma;
    }
    return !out.empty() && words.eof();
}

// OUT.ppm for one pass, OUT-PASS.ppm for each of several.
fs::path picture_path(const fs::path& out, unsigned long pass, bool several)
{
    if (!several) {
        return out;
    }
    fs::path p = out;
    return p.replace_filename(out.stem().string() + "-" + std::to_string(pass) +
                              out.extension().string());
}

bool write_ppm(const fs::path& path, const svc::HeadlessPlatform& platform)
{
    std::ofstream out(path, std::ios::binary);
    const int w = platform.frame_width();
    const int h = platform.frame_height();
    out << "P6\n" << w << ' ' << h << "\n255\n";
    for (const std::uint32_t p : platform.frame()) {
        const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8),
                             static_cast<char>(p)};
        out.write(rgb, 3);
    }
    return static_cast<bool>(out);
}

bool write_sounds(const std::string& path, const svc::HeadlessAudio& audio)
{
    std::ofstream out(path);
    for (const auto& tone : audio.tones) {
        std::uint32_t sum = 0;
        for (const std::int16_t s : tone.frames) {
            sum = sum * 31 + static_cast<std::uint16_t>(s);
        }
        out << "tone " << std::llround(tone.startMs * 1000) << ' ' << tone.frames.size() / 2 << ' '
            << sum << '\n';
    }
    for (const auto& file : audio.files) {
        out << "file " << std::llround(file.startMs * 1000) << ' ' << file.path << ' '
            << (file.sample ? "sample" : "stream") << ' ' << (file.started ? 1 : 0) << '\n';
    }
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    int h = 0, m = 0, s = 0;
    std::vector<unsigned long> stops;
    if ((argc != 6 && argc != 7) || std::sscanf(argv[2], "%d:%d:%d", &h, &m, &s) != 3 ||
        !read_passes(argv[3], stops)) {
        std::fprintf(stderr,
                     "usage: %s DATA_DIR HH:MM:SS STOP_PASS[,STOP_PASS...] EVENTS OUT.ppm "
                     "[SOUNDS]\n",
                     argv[0]);
        return 2;
    }
    const unsigned long stopPass = stops.back();
    std::vector<Taken> events;
    if (!read_events(argv[4], events)) {
        std::fprintf(stderr, "cannot read the events in %s\n", argv[4]);
        return 2;
    }
    const fs::path out = fs::absolute(argv[5]);
    const std::string sounds = argc == 7 ? fs::absolute(argv[6]).string() : std::string();
    const tools::ScratchData scratch(fs::absolute(argv[1]), fs::current_path());
    if (!scratch.ok()) {
        return 1;
    }
    svc::HeadlessPlatform platform;
    platform.set_time_of_day(h, m, s);
    unsigned long passes = 0;
    std::size_t next = 0, nextStop = 0;
    bool shot = true;
    // After pass n, what the page took at pass n + 1 is queued for it.
    platform.onPass = [&] {
        ++passes;
        if (passes == stops[nextStop]) {
            shot = shot && write_ppm(picture_path(out, passes, stops.size() > 1), platform);
            ++nextStop;
        }
        if (passes == stopPass) {
            shot = shot && (sounds.empty() || write_sounds(sounds, platform.audio));
            throw svc::ProgramExit{0};
        }
        for (; next < events.size() && events[next].pass <= passes + 1; ++next) {
            const Taken& t = events[next];
            if (t.kind == 1) {
                platform.press_key(svc::web_key_press(t.code, static_cast<unsigned>(t.a)));
            } else {
                platform.click_mouse(t.a, t.b);
            }
        }
    };
    {
        svc::Services services(platform);
        game::run_program(services);
    }
    if (passes < stopPass || !shot) {
        std::fprintf(stderr, "the game ended after %lu passes, before pass %lu\n", passes,
                     stopPass);
        return 1;
    }
    return 0;
}
